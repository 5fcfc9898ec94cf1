// Running the headless runner from tests and reading its trace.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The number under `key` in a trace line (a failure when it is missing).
inline long long TraceNumber(const std::string& line, const std::string& key) {
    std::string pattern = "\"" + key + "\":";
    size_t at = line.find(pattern);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << key << " in " << line;
        return -999999;
    }
    return std::stoll(line.substr(at + pattern.size()));
}

// The text between the brackets of the list under `key`, or "missing".
inline std::string TraceList(const std::string& line, const std::string& key) {
    std::string pattern = "\"" + key + "\":[";
    size_t at = line.find(pattern);
    if (at == std::string::npos) return "missing";
    at += pattern.size();
    return line.substr(at, line.find(']', at) - at);
}

inline bool TraceListHas(const std::string& line, const std::string& key, const std::string& item) {
    return TraceList(line, key).find(item) != std::string::npos;
}

inline std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct RunnerResult {
    std::vector<std::string> trace;  // trace[f - 1] is frame f
    std::string state;
    long long Value(int frame, const std::string& key) const {
        if (frame < 1 || frame > int(trace.size())) {
            ADD_FAILURE() << "no frame " << frame << " (" << trace.size() << " frames)";
            return -999999;
        }
        return TraceNumber(trace[size_t(frame - 1)], key);
    }
    // The first frame from `from` on whose `key` equals `value`, or 0.
    int FirstFrame(const std::string& key, long long value, int from = 1) const {
        for (int f = from; f <= int(trace.size()); ++f)
            if (TraceNumber(trace[size_t(f - 1)], key) == value) return f;
        return 0;
    }
};

// Runs tessmar-headless in `folder` with the script text; extra options follow.
inline RunnerResult RunHeadless(const std::string& folder, const std::string& script, const std::string& extra = "",
                                unsigned seed = 7) {
    std::ofstream(folder + "/input.txt") << script;
    std::string command = std::string(TESSMAR_BINARY_DIR "/tessmar-headless") + " --seed " + std::to_string(seed) +
                          " --dir " + folder + " --input " + folder + "/input.txt --trace " + folder +
                          "/trace.jsonl --state " + folder + "/state.json " + extra;
    RunnerResult run;
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "failed: " << command;
        return run;
    }
    run.trace = ReadLines(folder + "/trace.jsonl");
    auto state = ReadLines(folder + "/state.json");
    if (!state.empty()) run.state = state[0];
    return run;
}
