// The whole generated resource set and its previews.
#pragma once

#include <string>

void WriteResources(const std::string& resDir);
void WritePreviews(const std::string& previewDir);
