// Bodies run in processes of their own (a second program writing the store, one killed midway),
// on POSIX by fork, on Windows by starting this test program again on the body's name.
#pragma once

#include <string>
#include <vector>

namespace qsrn::test {

using Args = std::vector<std::string>;
using ChildBody = bool (*)(const Args& args);

// Makes body startable by name; the child exits 0 when it returns true.
bool RegisterChild(const char* name, ChildBody body);
#define QSRN_CHILD(name)                                                          \
  static bool name(const ::qsrn::test::Args& args);                              \
  [[maybe_unused]] static const bool name##_registered = ::qsrn::test::RegisterChild(#name, name); \
  static bool name([[maybe_unused]] const ::qsrn::test::Args& args)

class Child {
 public:
  Child(const char* name, const Args& args);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  bool Succeeded();  // waits for it to end
  void Kill();       // ends it at once, wherever it is

 private:
  long long id_ = -1;  // the process id, or its handle on Windows
};

}  // namespace qsrn::test
