// razazide-sim as a support technician meets it: a program folder, framing, record or plot it
// cannot use, which must stop the run with a message rather than be ignored.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"
#include "run.h"
#include "support/test_platform.h"
#include "unit/platform/special_files.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Simulate(const simcli::Options& options) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = simcli::RunSimulation(options, out, err);
  return {code, out.str(), err.str()};
}

struct RefusedRun {
  const char* what;
  // Prepares the folder (or other paths) and the options; returns the message expected.
  std::function<std::string(const fs::path& folder, const fs::path& outside,
                            simcli::Options& options)>
      setUp;
};

const RefusedRun kRefusedRuns[] = {
    {"a folder that does not exist",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.folder = (f / "no-such-folder").string();
       return "--folder " + o.folder + ": no such folder";
     }},
    {"a folder that is a file",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       std::ofstream(f / "plain-file") << "x";
       o.folder = (f / "plain-file").string();
       return "--folder " + o.folder + ": not a folder";
     }},
    {"VaziZod.ini linked to a file outside",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::LinkToFile, f / "VaziZod.ini", outside, "[x]\r\n");
       o.folder = f.string();
       return "--folder " + o.folder +
              ": VaziZod.ini is a symbolic link; the driver may write this file, copy it into "
              "the folder";
     }},
    {"server.txt a dangling link",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::DanglingLink, f / "server.txt", outside, "");
       o.folder = f.string();
       return "--folder " + o.folder + ": server.txt is a symbolic link";
     }},
    {"server111.txt linked to a file outside, with --framing",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::LinkToFile, f / "server111.txt", outside, "abcd");
       o.folder = f.string();
       o.framing = 1;
       return "--folder " + o.folder + ": server111.txt is a symbolic link";
     }},
    {"server11.txt a FIFO",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::Fifo, f / "server11.txt", outside, "");
       o.folder = f.string();
       return "--folder " + o.folder + ": server11.txt is not a regular file";
     }},
    {"--framing into a folder where no file can be made",
     [](const fs::path&, const fs::path&, simcli::Options& o) {
       o.folder = "/proc/self";  // not even root may create a file here
       o.framing = 0;
       return std::string("--framing 0: cannot write /proc/self/server111.txt");
     }},
    {"--record into a missing folder",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.recordPath = (f / "missing" / "x.capture").string();
       return "--record: cannot write " + o.recordPath;
     }},
    {"--plot into a missing folder",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.plotPath = (f / "missing" / "x.svg").string();
       return "--plot: cannot write " + o.plotPath;
     }},
};

TEST(RazazideSim, WhatCannotBeUsedStopsTheRunWithAMessageAndExitCode2) {
  for (const RefusedRun& row : kRefusedRuns) {
    test::TempFolder folder;
    test::TempFolder outside;
    test::TempFolder data;
    data.WriteText("scenario.txt", "wait 1s\ntouch 200 200 100ms\n");
    simcli::Options options;
    options.scenarioPath = data.File("scenario.txt");
    const std::string message = row.setUp(folder.path(), outside.path(), options);
    const std::string before = test::ContentOf(outside.path() / "VaziZod.ini") +
                               test::ContentOf(outside.path() / "server111.txt");
    test::HangGuard guard;
    const Outcome outcome = Simulate(options);
    EXPECT_EQ(outcome.exitCode, 2) << row.what;
    EXPECT_NE(outcome.err.find(message), std::string::npos)
        << row.what << ": expected \"" << message << "\" in\n"
        << outcome.err;
    EXPECT_EQ(outcome.out, "") << row.what << ": the driver must not have run";
    EXPECT_EQ(test::ContentOf(outside.path() / "VaziZod.ini") +
                  test::ContentOf(outside.path() / "server111.txt"),
              before)
        << row.what << ": a file outside the folder changed";
    EXPECT_FALSE(fs::exists(outside.path() / "server.txt")) << row.what;
  }
}

}  // namespace
}  // namespace raz
