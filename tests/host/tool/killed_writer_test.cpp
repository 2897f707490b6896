// A host ended by a signal while it records its log: the log there before stays whole, and nothing
// half-written is left beside it once the host has run again (at once, for a signal the host can catch).

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/default_signals.h"
#include "support/file_size_limit.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kExamples = PALPERA_TEST_SOURCE_DIR "/../examples";
const std::string kOldLog = "the log of an earlier session\n";
// Printed on the standard error stream, which holds nothing back, once the acquisition runs and the log
// names its event file.
const std::string kRecording = "setProbeRadius(0.003)";

// A recording of the emulated continuous probe, which then runs on until the host is ended.
const std::string kRecordingScript =
    "cad-box RefObject -5 -5 -1 5 5 0\n"
    "set DefaultFileNameDirectory/common " +
    kExamples +
    "\n"
    "start\n"
    "record-log run.log replace\n"
    "command PalperaDumpCmd\n"
    "press StartButton\n"
    "run-until Palpera/Events/Continuous/RadiusEvent 10000\n"
    "mouse move 1 2 10 0 0 -1\n"
    "run 600000\n";

// The host with the test module running a script in a folder; output and input (kept open) through pipes.
class RunningHost {
 public:
  RunningHost(const std::string& folder, const std::string& script, bool hangupIgnored = false,
              const std::string& input = "") {
    int ends[2], inputEnds[2];
    if (pipe(ends) != 0 || pipe(inputEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(ends[1], STDOUT_FILENO);
      dup2(ends[1], STDERR_FILENO);
      dup2(inputEnds[0], STDIN_FILENO);
      useDefaultEndingSignals();
      if (hangupIgnored) signal(SIGHUP, SIG_IGN);
      const rlimit noCore{0, 0};  // SIGQUIT's default action dumps core, which no test leaves behind
      setrlimit(RLIMIT_CORE, &noCore);
      if (chdir(folder.c_str()) != 0) _exit(126);
      execl(PALPERA_HOST_TOOL, PALPERA_HOST_TOOL, "--module", PALPERA_TOOL_TEST_MODULE, "--script",
            script.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ends[1]);
    close(inputEnds[0]);
    output_ = ends[0];
    input_ = inputEnds[1];
    EXPECT_EQ(write(input_, input.data(), input.size()), ssize_t(input.size()));
  }
  RunningHost(const RunningHost&) = delete;
  RunningHost& operator=(const RunningHost&) = delete;
  ~RunningHost() {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
    if (input_ >= 0) close(input_);
  }

  // Whether the host printed the line within ten seconds; what it printed is kept for the failure message.
  bool printed(const std::string& line) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (printed_.find(line + "\n") == std::string::npos) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{output_, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
      char bytes[512];
      const ssize_t got = read(output_, bytes, sizeof bytes);
      if (got <= 0) return false;
      printed_.append(bytes, static_cast<size_t>(got));
    }
    return true;
  }
  // Sends the signal and answers the signal that ended the host; 0 when something else ended it.
  int endBy(int signal) {
    kill(pid_, signal);
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_) return 0;
    pid_ = -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }
  void send(int signal) { kill(pid_, signal); }
  const std::string& output() const { return printed_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int input_ = -1;
  std::string printed_;
};

// Whether the file in the folder holds a byte within ten seconds: the folder is watched, never slept on.
bool holdsBytesSoon(const std::string& folder, const std::string& name) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::error_code missing;
  bool holds = false;
  while (!(holds = std::filesystem::file_size(folder + "/" + name, missing) > 0 && !missing)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{watch, POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    char events[4096];
    if (read(watch, events, sizeof events) <= 0) break;
  }
  close(watch);
  return holds;
}

// An acquisition recorded whole, its event file written and closed, while the log that names it records on.
const std::string kAcquiredScript =
    "cad-box RefObject -5 -5 -1 5 5 0\nset DefaultFileNameDirectory/common " + kExamples +
    "\nstart\nrecord-log run.log replace\ncommand PalperaDumpCmd\npress StartButton\n"
    "run-until Palpera/Events/Continuous/RadiusEvent 10000\nkey press 293\n"
    "run-until Palpera/Events/Continuous/OnStop 10000\npress StopButton\ncancel\n";

}  // namespace

// An event file is the log's: when the log is not put in place, as the host is ended by a signal after the
// file took its records or as the log alone does not fit (a file size limit of 80 bytes, which the event
// file's two records fit in), the file goes with it. No file is left that no log names.
TEST(KilledWriter, AnEventFileGoesWithItsLogOnEachSignalAndWhenTheLogDoesNotFit) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, 0}) {
    SCOPED_TRACE(signal ? strsignal(signal) : "the log does not fit");
    ScratchDirectory scratch;
    scratch.write("run.log", kOldLog);
    scratch.write("recording.script", kAcquiredScript + (signal ? "run 600000\n" : "stop-recording\n"));
    if (signal) {
      RunningHost host(scratch.system(), "recording.script");
      ASSERT_TRUE(holdsBytesSoon(scratch.system(), "run-hardprobe-0000.xml")) << host.output();
      EXPECT_EQ(host.endBy(signal), signal) << host.output();
    } else {
      FileSizeLimit full(80);
      int status = 0;
      const std::string output = runTool("--module " PALPERA_TOOL_TEST_MODULE " --script recording.script",
                                         status, scratch.system());
      EXPECT_NE(output.find("the host log could not be written whole: the file there is left as it was"),
                std::string::npos)
          << output;
    }
    EXPECT_EQ(scratch.read("run.log"), kOldLog);
    EXPECT_EQ(scratch.names(), (std::vector<std::string>{"recording.script", "run.log"}));
  }
}

// SIGINT and SIGTERM end the host after it removed the log's new version; SIGKILL leaves it, and the next
// recording over the same log removes it. No empty event file is left that no log names.
TEST(KilledWriter, ARecordingEndedByASignalLeavesTheOldLogWholeAndNothingBesideIt) {
  const std::vector<std::string> kept{"next.script", "recording.script", "run.log"};
  for (int signal : {SIGINT, SIGTERM, SIGKILL}) {
    SCOPED_TRACE(strsignal(signal));
    ScratchDirectory scratch;
    scratch.write("run.log", kOldLog);
    scratch.write("recording.script", kRecordingScript);
    scratch.write("next.script", "set DefaultFileNameDirectory/common " + kExamples +
                                     "\nstart\nrecord-log run.log replace\nstop-recording\n");
    {
      RunningHost host(scratch.system(), "recording.script");
      ASSERT_TRUE(host.printed(kRecording)) << host.output();
      EXPECT_EQ(host.endBy(signal), signal) << host.output();
    }
    EXPECT_EQ(scratch.read("run.log"), kOldLog);
    if (signal != SIGKILL) {
      EXPECT_EQ(scratch.names(), kept) << "at once";
    }
    int status = 0;
    EXPECT_EQ(runTool("--script next.script", status, scratch.system()), "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(scratch.names(), kept) << "after the next run";
  }
}

// The host's handler removes the module's unfinished file on each signal that ends a program, also after more
// files than it has slots for; under nohup (hangupIgnored) the host goes on through a SIGHUP.
TEST(KilledWriter, AModulesUnfinishedFileIsRemovedByEachSignalThatEndsTheHost) {
  const std::tuple<int, int, bool> cases[] = {{SIGINT, 0, false},  {SIGTERM, 0, false},  {SIGHUP, 0, false},
                                              {SIGQUIT, 0, false}, {SIGTERM, 65, false}, {SIGTERM, 0, true}};
  for (const auto& [signal, before, hangupIgnored] : cases) {
    SCOPED_TRACE(testing::Message() << strsignal(signal) << ", " << before << ", " << hangupIgnored);
    ScratchDirectory scratch;
    scratch.write("written", kOldLog);
    std::string script = "command ScriptTestCommand\n";
    for (int press = 0; press <= before; ++press) script += "press Write\n";
    scratch.write("writing.script", script);
    RunningHost host(scratch.system(), "writing.script", hangupIgnored, std::string(before, '\n'));
    ASSERT_TRUE(host.printed("command: writing " + std::to_string(before + 1))) << host.output();
    if (hangupIgnored) host.send(SIGHUP);
    EXPECT_EQ(host.endBy(signal), signal) << host.output();
    EXPECT_EQ(scratch.read("written"), before == 0 ? kOldLog : "a new version\n");
    EXPECT_EQ(scratch.names(), (std::vector<std::string>{"writing.script", "written"}));
  }
}
