// What the advanced, sound and file dialogs share for the user's text: UTF-8 (as the forms keep
// it) in the system's wide calls, and the one-sentence exclamation box titled "Quasarine".
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qsrn {

std::wstring WideOf(std::string_view utf8);
void Exclaim(HWND owner, std::string_view sentence);

}  // namespace qsrn
