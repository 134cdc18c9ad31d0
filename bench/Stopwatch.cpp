#include "Stopwatch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

double Mean(const std::vector<double>& values) {
    if (values.empty()) {
        return 0.0;
    }
    return std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double Median(std::vector<double> values) {
    return Percentile(std::move(values), 0.5);
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(share * values.size()));
    return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}
