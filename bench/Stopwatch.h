// The performance counter, and the few statistics the figures are made of.
#pragma once

#include <windows.h>

#include <vector>

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start); }

    double Seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) / Frequency();
    }
    void Restart() { QueryPerformanceCounter(&start); }

    static double Frequency() {
        static const double frequency = [] {
            LARGE_INTEGER value;
            QueryPerformanceFrequency(&value);
            return static_cast<double>(value.QuadPart);
        }();
        return frequency;
    }

private:
    LARGE_INTEGER start;
};

double Mean(const std::vector<double>& values);
double Median(std::vector<double> values);
// The value below which the given share (0 to 1) of the values lie, nearest rank.
double Percentile(std::vector<double> values, double share);
