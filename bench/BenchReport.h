// The figures of one run, each beside its floor: printed as a table and written as JSON.
#pragma once

#include <string>
#include <vector>

struct BenchFigure {
    std::string group;
    std::string name;
    double value = 0.0;
    // What the same work costs at the very least, measured in the same run; 0 for none.
    double floor = 0.0;
    std::string unit;
    std::string note;

    double Ratio() const { return floor > 0.0 ? value / floor : 0.0; }
};

class BenchReport {
public:
    void Add(const BenchFigure& figure);
    const std::vector<BenchFigure>& Figures() const { return figures; }

    // A Markdown table, so that the same text serves the console and the docs.
    std::string Table() const;
    bool WriteJson(const char* path, bool quick) const;

private:
    std::vector<BenchFigure> figures;
};
