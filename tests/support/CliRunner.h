#pragma once
// Runs the built ostrel-cli as a process for the end-to-end tests, with a time limit so that a hung
// process fails the test instead of stalling the run.
#include <string>
#include <vector>

struct CliRun {
    int status = -1;    // exit status, or -1 when the process did not end normally in time
    std::string out;    // standard output
    std::string both;   // standard output and standard error, interleaved
    long maxRssKb = 0;  // the program's peak resident set (VmHWM, sampled while it ran), in kilobytes
    double seconds = 0; // wall time from the start to the end of the process
};

// The folder of the executables and data files (build/bin).
std::string CliBinDir();

// Runs ostrel-cli with args (no shell involved); kills it after limitMs.
CliRun RunCli(const std::vector<std::string>& args, int limitMs = 30000);

// The same for another program of the bin folder (ostrel, ostrel-radio-sim...).
CliRun RunProgram(const std::string& name, const std::vector<std::string>& args, int limitMs = 30000);
