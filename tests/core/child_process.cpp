// Children by fork on POSIX; on Windows this program again, told the body by its environment.
#include "child_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "settings/file_system.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qsrn::test {

namespace {

std::map<std::string, ChildBody>& Bodies() {
  static std::map<std::string, ChildBody> bodies;
  return bodies;
}

[[noreturn]] void RunBody(const std::string& name, const Args& args) {
  const auto found = Bodies().find(name);
  std::_Exit(found != Bodies().end() && found->second(args) ? 0 : 1);
}

}  // namespace

bool RegisterChild(const char* name, ChildBody body) {
  Bodies()[name] = body;
  return true;
}

Child::~Child() {
  Kill();
  Succeeded();
}

#ifdef _WIN32

constexpr wchar_t kChildVariable[] = L"QSRN_TEST_CHILD";

// The body's name and its arguments, one a line, travel in the environment; the child's test
// report would only repeat ours, so it answers by its exit code alone.
Child::Child(const char* name, const Args& args) {
  std::string request = name;
  for (const std::string& arg : args) request += "\n" + arg;
  wchar_t self[MAX_PATH * 4];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=Child.DISABLED_Run --gtest_also_run_disabled_tests";
  ::SetEnvironmentVariableW(kChildVariable, files::PathFromUtf8(request).c_str());
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const HANDLE quiet = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = quiet;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    id_ = reinterpret_cast<long long>(process.hProcess);
  }
  ::SetEnvironmentVariableW(kChildVariable, nullptr);
  ::CloseHandle(quiet);
}

bool Child::Succeeded() {
  if (id_ == -1) return false;
  const HANDLE process = reinterpret_cast<HANDLE>(id_);
  DWORD code = 1;
  const bool ended = ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 && ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  id_ = -1;
  return ended && code == 0;
}

void Child::Kill() {
  if (id_ != -1) ::TerminateProcess(reinterpret_cast<HANDLE>(id_), 9);
}

TEST(Child, DISABLED_Run) {
  std::wstring request(32768, L'\0');
  request.resize(::GetEnvironmentVariableW(kChildVariable, request.data(), static_cast<DWORD>(request.size())));
  if (request.empty()) GTEST_SKIP() << "runs only as a child of another test";
  Args lines;
  const std::string text = files::Utf8Of(request);
  for (size_t at = 0, end; at <= text.size(); at = end + 1) {
    end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
  }
  RunBody(lines.front(), Args(lines.begin() + 1, lines.end()));
}

#else

Child::Child(const char* name, const Args& args) {
  const pid_t pid = ::fork();
  if (pid == 0) RunBody(name, args);
  id_ = pid;
}

bool Child::Succeeded() {
  if (id_ == -1) return false;
  int status = 0;
  const bool ended = ::waitpid(static_cast<pid_t>(id_), &status, 0) == id_;
  id_ = -1;
  return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Child::Kill() {
  if (id_ != -1) ::kill(static_cast<pid_t>(id_), SIGKILL);
}

#endif

}  // namespace qsrn::test
