#include "BenchReport.h"

#include <cstdio>

namespace {
std::string Number(double value) {
    char text[32];
    if (value == 0.0) {
        return "-";
    }
    if (value >= 1000.0) {
        std::snprintf(text, sizeof(text), "%.0f", value);
    } else if (value >= 10.0) {
        std::snprintf(text, sizeof(text), "%.1f", value);
    } else {
        std::snprintf(text, sizeof(text), "%.2f", value);
    }
    return text;
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '"' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}
}  // namespace

void BenchReport::Add(const BenchFigure& figure) {
    figures.push_back(figure);
    std::printf("  %-9s %-40s %12s  floor %12s  ratio %6s %s\n", figure.group.c_str(),
                figure.name.c_str(), Number(figure.value).c_str(), Number(figure.floor).c_str(),
                Number(figure.Ratio()).c_str(), figure.unit.c_str());
    std::fflush(stdout);
}

std::string BenchReport::Table() const {
    std::string table =
        "| figure | measured | floor | ratio | unit | floor is |\n"
        "|---|---:|---:|---:|---|---|\n";
    for (const BenchFigure& figure : figures) {
        table += "| " + figure.group + ": " + figure.name + " | " + Number(figure.value) + " | " +
                 Number(figure.floor) + " | " + Number(figure.Ratio()) + " | " + figure.unit +
                 " | " + figure.note + " |\n";
    }
    return table;
}

bool BenchReport::WriteJson(const char* path, bool quick) const {
    FILE* file = std::fopen(path, "w");
    if (!file) {
        return false;
    }
    std::fprintf(file, "{\n  \"quick\": %s,\n  \"figures\": [\n", quick ? "true" : "false");
    for (size_t i = 0; i < figures.size(); ++i) {
        const BenchFigure& figure = figures[i];
        std::fprintf(file,
                     "    {\"group\": \"%s\", \"name\": \"%s\", \"value\": %.6g, \"floor\": %.6g, "
                     "\"ratio\": %.4g, \"unit\": \"%s\", \"floor_is\": \"%s\"}%s\n",
                     Escaped(figure.group).c_str(), Escaped(figure.name).c_str(), figure.value,
                     figure.floor, figure.Ratio(), Escaped(figure.unit).c_str(),
                     Escaped(figure.note).c_str(), i + 1 < figures.size() ? "," : "");
    }
    std::fprintf(file, "  ]\n}\n");
    return std::fclose(file) == 0;
}
