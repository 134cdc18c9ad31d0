// The whole generated resource set and its previews.
#pragma once

#include <string>

void WriteResources(const std::string& resDir);
void WritePreviews(const std::string& previewDir);
// Frames first to last of one script side by side, enlarged: for looking closely.
void WriteCloseUp(const std::string& script, int first, int last, const std::string& file);
