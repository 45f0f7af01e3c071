#pragma once

// What the reader benchmarks share: runs that measure bytes per second, a bare XML token scan as
// a baseline, and a reporter that keeps the throughput of every run for the table printed at
// the end.

#include <QString>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

// Reading the XML and nothing else: what any reader of it costs at least.
inline bool xmlScan(const QString& text)
{
    QXmlStreamReader xml(text);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

// A benchmark that runs body on bytes of input per iteration.
template<typename Body>
void registerThroughput(const std::string& name, qint64 bytes, Body body)
{
    benchmark::RegisterBenchmark(name.c_str(), [body, bytes](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(body());
        state.SetBytesProcessed(state.iterations() * bytes);
    });
}

class ThroughputReporter : public benchmark::ConsoleReporter
{
public:
    ThroughputReporter()
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular)
    {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (run.error_occurred || rate == run.counters.end())
                continue;
            m_megabytesPerSecond[run.run_name.function_name] = double(rate->second) / bytesPerMegabyte;
        }
    }

    // Nothing when the run was filtered out or failed.
    std::optional<double> megabytesPerSecond(const std::string& name) const
    {
        const auto found = m_megabytesPerSecond.find(name);
        if (found == m_megabytesPerSecond.end())
            return std::nullopt;
        return found->second;
    }

private:
    static constexpr double bytesPerMegabyte = 1e6;
    std::map<std::string, double> m_megabytesPerSecond;
};
