// Benchmarks of the program's costs, each figure beside its floor from the same run.
// Usage: Bench.exe [--quick] [--json PATH] [--table PATH] [--only GROUP]
//   --quick   tiny counts, to check that every section works (the test command runs this)
//   --only    one of startup, tick, render, start, memory, cadence
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Bench.h"
#include "support/TestSupport.h"

namespace {
bool Wanted(const char* only, const char* group) {
    return !only || std::strcmp(only, group) == 0;
}

const char* const GROUPS[] = {"startup", "tick", "render", "start", "memory", "cadence"};

// Every section that ran gave at least one figure.
bool Complete(const BenchReport& report, const char* only) {
    bool complete = true;
    for (const char* group : GROUPS) {
        if (!Wanted(only, group)) {
            continue;
        }
        bool found = false;
        for (const BenchFigure& figure : report.Figures()) {
            found = found || figure.group == group;
        }
        if (!found) {
            std::fprintf(stderr, "no %s figures\n", group);
            complete = false;
        }
    }
    return complete;
}

bool WriteText(const char* path, const std::string& text) {
    FILE* file = std::fopen(path, "w");
    if (!file) {
        return false;
    }
    std::fputs(text.c_str(), file);
    return std::fclose(file) == 0;
}
}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    const char* jsonPath = nullptr;
    const char* tablePath = nullptr;
    const char* only = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], HOST_TARGETS_ARGUMENT) == 0 && i + 1 < argc) {
            return HostTargetWindows(std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
        } else if (std::strcmp(argv[i], "--json") == 0 && i + 1 < argc) {
            jsonPath = argv[++i];
        } else if (std::strcmp(argv[i], "--table") == 0 && i + 1 < argc) {
            tablePath = argv[++i];
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
            return 2;
        }
    }

    BenchReport report;
    std::printf("Tarvolen benchmarks%s\n", options.quick ? " (quick)" : "");
    // Before this process has a main window of its own, which would stop the program.
    if (Wanted(only, "startup")) {
        MeasureStartup(options, report);
    }
    StartProgramHere();
    if (Wanted(only, "tick")) {
        MeasureTickCost(options, report);
    }
    if (Wanted(only, "render")) {
        MeasureRenderCost(options, report);
    }
    if (Wanted(only, "start")) {
        MeasureFigureStart(options, report);
    }
    if (Wanted(only, "memory")) {
        MeasureMemory(options, report);
    }
    if (Wanted(only, "cadence")) {
        MeasureFrameCadence(options, report);
    }
    StopProgramHere();

    std::printf("\n%s", report.Table().c_str());
    if (jsonPath && !report.WriteJson(jsonPath, options.quick)) {
        std::fprintf(stderr, "could not write %s\n", jsonPath);
        return 1;
    }
    if (tablePath && !WriteText(tablePath, report.Table())) {
        std::fprintf(stderr, "could not write %s\n", tablePath);
        return 1;
    }
    return Complete(report, only) ? 0 : 1;
}
