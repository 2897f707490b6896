// The files a process has begun and not finished go with it when a signal ends it.

#include "platform/unfinished_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <list>
#include <string>
#include <vector>

#include "support/scratch_directory.h"

namespace {

// A child that holds held files unfinished at once, one registered and let go before them, and is then
// ended by signal; what it leaves in the scratch folder.
std::vector<std::string> leftAfterSignal(int held, int signal) {
  ScratchDirectory scratch;
  const pid_t child = fork();
  if (child == 0) {
    platform::removeUnfinishedFilesOnSignals();
    { platform::UnfinishedFile finished(scratch.system("finished")); }
    scratch.write("finished", "whole");
    std::list<platform::UnfinishedFile> unfinished;
    for (int index = 0; index < held; ++index) {
      const std::string name = "event-" + std::to_string(index) + ".xml";
      scratch.write(name, "half");
      unfinished.emplace_back(scratch.system(name));
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
}

}  // namespace
