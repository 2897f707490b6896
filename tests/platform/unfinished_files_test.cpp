// The files a process has begun and not finished go with it when a signal ends it.

#include "platform/unfinished_files.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "platform/file_replacement.h"
#include "support/default_signals.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"

namespace {

// What the process that raises the signal had set for it before the registry's handler took it over.
enum class HostHandler { kNone, kGoesOn, kEndsByDefault };

volatile sig_atomic_t hostHandlerRuns = 0;
void hostGoesOn(int) {
  hostHandlerRuns = hostHandlerRuns + 1;
  errno = EDOM;  // a careless handler: the interrupted code must still read its own errno
}
void hostEndsByDefault(int signal) {
  hostHandlerRuns = hostHandlerRuns + 1;
  std::signal(signal, SIG_DFL);
  ::raise(signal);
}

// Every ending signal takes its default action in the child, whatever the test process (or a sanitizer) set.
void startFromDefaults() {
  for (int signal : endingSignals()) std::signal(signal, SIG_DFL);
  const rlimit noCore{0, 0};  // the signals whose default action dumps core leave none behind
  setrlimit(RLIMIT_CORE, &noCore);
}

// A child whose host set its handler so, that writes held new versions of files at once, is sent the signal
// halfway and, if it goes on, finishes them; what it leaves in the scratch folder, and how it ended (exit
// status 0 for one that went on with its errno as it was and every file committed whole).
std::vector<std::string> leftAfterHostHandler(int held, int signal, HostHandler host, int& status) {
  ScratchDirectory scratch;
  const pid_t child = fork();
  if (child == 0) {
    startFromDefaults();
    if (host == HostHandler::kGoesOn) std::signal(signal, hostGoesOn);
    if (host == HostHandler::kEndsByDefault) std::signal(signal, hostEndsByDefault);
    platform::removeUnfinishedFilesOnSignals();
    std::list<FileReplacement> writing;
    for (int index = 0; index < held; ++index)
      std::fputs("half ", writing.emplace_back(scratch.system("event-" + std::to_string(index))).stream());
    errno = ENOTTY;
    ::raise(signal);
    bool whole = errno == ENOTTY && hostHandlerRuns == 1;
    for (FileReplacement& file : writing)
      whole = std::fputs("whole", file.stream()) >= 0 && file.commit() && whole;
    _exit(whole ? 0 : 3);
  }
  EXPECT_EQ(waitpid(child, &status, 0), child);
  if (!scratch.names().empty()) {
    EXPECT_EQ(scratch.read("event-0"), "half whole");
  }
  return scratch.names();
}

// How a child raises the signal after registering its files.
enum class Ending {
  kRaised,
  kLongNameInAFreedSlot,   // a name of exactly PATH_MAX bytes registered in the place of the first file
  kAtExit,                 // raised on the way out of exit, after the process's statics have gone
  kAfterAForkedChildEnds,  // a child forked once the files were registered is ended by the signal first
};

void raiseTermination() {
  ::raise(SIGTERM);
}

// A child that holds held files unfinished at once, one registered and let go before them, and is then
// ended by signal; what it leaves in the scratch folder.
std::vector<std::string> leftAfterSignal(int held, int signal, Ending ending = Ending::kRaised) {
  ScratchDirectory scratch;
  const pid_t child = fork();
  if (child == 0) {
    startFromDefaults();
    if (ending == Ending::kAtExit) std::atexit(raiseTermination);  // runs after the statics made later go
    platform::removeUnfinishedFilesOnSignals();
    { platform::UnfinishedFile finished(scratch.system("finished")); }
    scratch.write("finished", "whole");
    std::list<platform::UnfinishedFile> unfinished;
    for (int index = 0; index < held; ++index) {
      const std::string name = "event-" + std::to_string(index) + ".xml";
      scratch.write(name, "half");
      unfinished.emplace_back(scratch.system(name));
    }
    if (ending == Ending::kAtExit) std::exit(0);
    if (const pid_t grandchild = ending == Ending::kAfterAForkedChildEnds ? fork() : -1; grandchild == 0) {
      ::raise(signal);
    } else if (grandchild > 0 && waitpid(grandchild, nullptr, 0) == grandchild &&
               scratch.exists("event-1.xml")) {
      scratch.write("kept through the child's end", "");  // the files stay the parent's to remove
    }
    if (ending == Ending::kLongNameInAFreedSlot) {
      unfinished.pop_front();
      unfinished.emplace_back(scratch.system(std::string(PATH_MAX - scratch.system("").size(), 'n')));
    }
    ::raise(signal);
    _exit(0);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
  return scratch.names();
}

// A recording holds every event file it wrote until its log is put in place: however many there are, each
// goes, and a file finished before stays.
TEST(UnfinishedFiles, EveryFileHeldAtOnceGoesWithTheSignalHoweverMany) {
  for (const auto& [held, signal] : {std::pair{1, SIGTERM}, {64, SIGINT}, {65, SIGHUP}, {300, SIGTERM}}) {
    SCOPED_TRACE(std::to_string(held) + " held, " + strsignal(signal));
    EXPECT_EQ(leftAfterSignal(held, signal), std::vector<std::string>{"finished"});
  }
  // A name too long for a slot takes none, and so moves no other file's; a signal on the way out of exit,
  // once the blocks after the first have gone, removes only what the first block holds.
  SCOPED_TRACE("a name of PATH_MAX bytes, and a signal at exit");
  EXPECT_EQ(leftAfterSignal(3, SIGTERM, Ending::kLongNameInAFreedSlot),
            (std::vector<std::string>{"event-0.xml", "finished"}));
  EXPECT_EQ(leftAfterSignal(65, SIGTERM, Ending::kAtExit),
            (std::vector<std::string>{"event-64.xml", "finished"}));
  EXPECT_EQ(leftAfterSignal(2, SIGPIPE, Ending::kAfterAForkedChildEnds),
            (std::vector<std::string>{"finished", "kept through the child's end"}));
}

// Whatever signal ends the process by default, however many files are held and whatever the host set before:
// the new versions go exactly when the signal ends the process, and a process that goes on puts every one in
// place whole, with the host's handler run once and the interrupted code's errno as it was.
TEST(UnfinishedFiles, FilesGoExactlyWhenTheSignalEndsTheProcess) {
  const std::vector<int> signals = endingSignals();
  std::mt19937 random(20261208);
  const int cases = kSanitized ? 12 : 60;
  for (int index = 0; index < cases; ++index) {
    const int signal = signals[random() % signals.size()];
    const int held = static_cast<int>(random() % 140);
    const auto host = static_cast<HostHandler>(random() % 3);
    SCOPED_TRACE(testing::Message() << strsignal(signal) << " (" << signal << "), " << held << " held, host "
                                    << static_cast<int>(host));
    int status = 0;
    const std::vector<std::string> left = leftAfterHostHandler(held, signal, host, status);
    if (host == HostHandler::kGoesOn) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_EQ(left.size(), static_cast<size_t>(held));
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
      EXPECT_EQ(left, std::vector<std::string>());
    }
  }
}

}  // namespace
