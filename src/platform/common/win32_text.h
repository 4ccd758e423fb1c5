// Windows' own header as every Windows file of the game includes it, and text between the program's UTF-8
// and Windows' UTF-16, with Windows' words for its errors: shared by the Windows layer and by the in-memory
// layer built for Windows.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace coilrun {

// UTF-8 text as UTF-16, and back; empty where the text cannot be converted.
std::wstring Win32Wide(const char* text);
std::string Win32Narrow(const wchar_t* text);

// Windows' words for an error code, without the full stop and line break it ends them with.
std::string Win32ErrorText(DWORD error);

}  // namespace coilrun
