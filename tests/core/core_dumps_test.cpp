#include "core/core_dumps.h"
#include "unit_test.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// In a child of its own, so the test program keeps its dumps: the core file
// limit and whether the process may be dumped, with and without the variable
// that keeps dumps for debugging.
TEST(CoreDumps, AreSwitchedOffUnlessTheVariableKeepsThem)
{
    for (const char* keep : {static_cast<const char*>(nullptr), "0", "1"}) {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit some{4096, 4096};
            const char raised = setrlimit(RLIMIT_CORE, &some) == 0 ? 'c' : '0';
            if (keep)
                setenv(CoreDumps::KeepVariable, keep, 1);
            else
                unsetenv(CoreDumps::KeepVariable);
            const bool done = CoreDumps::disable();
            rlimit now{};
            getrlimit(RLIMIT_CORE, &now);
            const char state[4] = {char('0' + done), char(now.rlim_cur == 0 ? '0' : 'c'),
                                   char('0' + prctl(PR_GET_DUMPABLE, 0, 0, 0, 0)), raised};
            (void)!write(pipe[1], state, sizeof state);
            _exit(0);
        }
        ::close(pipe[1]);
        char state[5] = {};
        EXPECT_EQ(read(pipe[0], state, 4), 4);
        ::close(pipe[0]);
        waitpid(child, nullptr, 0);
        const bool kept = keep && keep[0] == '1';
        // Where the limit cannot be raised it stays 0 either way.
        const std::string limit(1, state[3]);
        EXPECT_EQ(std::string(state, 3), kept ? "1" + limit + "1" : "100") << (keep ? keep : "-");
    }
}
