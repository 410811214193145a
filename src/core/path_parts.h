// Directory and file-name parts of a Windows path, double-byte aware.
#pragma once
#include <string>

namespace pelto {

// Tells whether a byte starts a double-byte character in the ANSI code page.
using LeadByteTest = bool (*)(unsigned char);

// Lead bytes of code page 932 (Shift-JIS): 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char c);

// Everything up to and including the last "\" or ":" (a trail byte 0x5C never counts).
std::string ExtractFilePath(const std::string& path, LeadByteTest isLead = IsCp932LeadByte);

// Everything after the last "\" or ":".
std::string ExtractFileName(const std::string& path, LeadByteTest isLead = IsCp932LeadByte);

// The application title: the file name of the executable cut at its first ".", every
// character after the first in lower case ("Pelto" for "C:\x\Pelto.exe").
std::string ApplicationTitle(const std::string& exePath, LeadByteTest isLead = IsCp932LeadByte);

} // namespace pelto
