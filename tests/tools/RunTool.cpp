#include "tests/tools/RunTool.h"

#include "tests/support/Fixture.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zor::test {

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::string& workDir, const std::vector<std::string>& env) {
    TempDir capture;
    std::string outPath = capture.file("out"), errPath = capture.file("err");
    std::string exe = std::string(ZOR_BIN_DIR) + "/" + program;

    pid_t pid = fork();
    if (pid == 0) {
        if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
        int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0) _exit(127);
        dup2(o, 1);
        dup2(e, 2);
        int in = open("/dev/null", O_RDONLY);
        if (in >= 0) dup2(in, 0);
        for (const auto& kv : env) putenv(const_cast<char*>(kv.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(exe.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    ToolResult r;
    int st = 0;
    if (pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st)) r.status = WEXITSTATUS(st);
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

} // namespace zor::test
