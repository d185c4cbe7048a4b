// Win32Profile against the system's profile rules, and the headless INI implementation
// against Win32Profile on the same files: what tests on Linux assume must hold on Windows.
#include <filesystem>
#include <fstream>

#include "check_harness.h"
#include "platform/headless/headless_profile.h"
#include "platform/win32/win32_profile.h"

namespace raz::win32::checks {
namespace {

void PutText(const std::string& path, const std::string& text) {
  std::ofstream out(PathOf(path), std::ios::binary);
  out << text;
}

constexpr char kIni[] =
    "[PARAMETERS]\r\n"
    "vkey = 0x1 \r\n"
    "Pen=  12  \r\n"
    "APPCaption=\"Quoted Caption\"\r\n"
    "APPClassName='single'\r\n"
    "Half=\"open\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    " Spaced Key = v w \r\n"
    "NoEquals\r\n"
    "[parameters]\r\n"
    "Late=yes\r\n"
    "[ language ]\r\n"
    "Select=1\r\n"
    ";Commented=3\r\n"
    "Empty=\r\n";

struct Lookup {
  const char* section;
  const char* key;
  const char* fallback;
};

constexpr Lookup kLookups[] = {
    {"PARAMETERS", "vkey", "d"},     {"parameters", "VKEY", "d"},
    {"PARAMETERS", "Pen", "d"},      {"PARAMETERS", "APPCaption", "d"},
    {"PARAMETERS", "APPClassName", "d"}, {"PARAMETERS", "Half", "d"},
    {"PARAMETERS", "Dup", "d"},      {"PARAMETERS", "Spaced Key", "d"},
    {"PARAMETERS", "NoEquals", "d"}, {"PARAMETERS", "Late", "d"},
    {"language", "SELECT", "d"},     {"language", ";Commented", "d"},
    {"language", "Commented", "d"},  {"language", "Empty", "d"},
    {"Missing", "x", "fallback"},    {"language", "Missing", ""},
};

std::string RunParity() {
  const std::string path = ScratchFolder("parity") + "VaziZod.ini";
  PutText(path, kIni);
  Win32Profile system;
  HeadlessProfile headless;
  std::string problems;
  for (const Lookup& l : kLookups) {
    const std::string want = system.ReadString(path, l.section, l.key, l.fallback);
    const std::string got = headless.ReadString(path, l.section, l.key, l.fallback);
    if (got != want) {
      problems += std::string("[") + l.section + "] " + l.key + ": system '" + want +
                  "', headless '" + got + "'; ";
    }
  }
  return problems;
}

// After the same writes, both implementations read back the same values, and keep the
// untouched entries.
std::string RunWriteParity() {
  Win32Profile system;
  HeadlessProfile headless;
  const std::string folder = ScratchFolder("write_parity");
  const std::string a = folder + "a.ini";
  const std::string b = folder + "b.ini";
  PutText(a, kIni);
  PutText(b, kIni);
  const Lookup writes[] = {{"PARAMETERS", "VKEY", "0"},
                           {"VKeyCali", "VKeyPoint_L_TopX", "-3"},
                           {"language", "select", "2"},
                           {"New Section", "k", "v"}};
  for (const Lookup& w : writes) {
    if (!system.WriteString(a, w.section, w.key, w.fallback)) return "system write refused";
    if (!headless.WriteString(b, w.section, w.key, w.fallback)) return "headless write refused";
  }
  std::string problems;
  for (const Lookup& l : kLookups) {
    const std::string want = system.ReadString(a, l.section, l.key, l.fallback);
    const std::string got = system.ReadString(b, l.section, l.key, l.fallback);
    if (got != want) problems += std::string(l.key) + ": '" + want + "' vs '" + got + "'; ";
  }
  for (const Lookup& w : writes) {
    const std::string got = system.ReadString(b, w.section, w.key, "?");
    if (got != w.fallback) problems += std::string(w.key) + " not written by headless; ";
  }
  return problems;
}

std::string RunLongValueCut() {
  const std::string path = ScratchFolder("long") + "VaziZod.ini";
  PutText(path, "[PARAMETERS]\r\nAPPCaption=" + std::string(3000, 'x') + "\r\n");
  return Expect(Win32Profile().ReadString(path, "PARAMETERS", "APPCaption", "").size(),
                std::size_t{2047}, "length");
}

std::string RunWriteCreatesFile() {
  const std::string path = ScratchFolder("create") + "VaziZod.ini";
  Win32Profile profile;
  if (!profile.WriteString(path, "language", "Select", "1")) return "write refused";
  return Expect(profile.ReadString(path, "LANGUAGE", "select", ""), std::string("1"), "value");
}

std::string RunWriteRefused() {
  const std::string path = ScratchFolder("refused") + "no such folder\\VaziZod.ini";
  return Win32Profile().WriteString(path, "PARAMETERS", "vkey", "1") ? "write reported success"
                                                                     : std::string();
}

}  // namespace

std::vector<Case> ProfileCases() {
  return {
      {"Profile_HeadlessReadsWhatTheSystemReads", RunParity},
      {"Profile_HeadlessWritesWhatTheSystemWrites", RunWriteParity},
      {"Profile_ReadString_CutsAt2047Characters", RunLongValueCut},
      {"Profile_WriteString_CreatesAMissingFile", RunWriteCreatesFile},
      {"Profile_WriteString_FalseWhenTheFolderIsMissing", RunWriteRefused},
  };
}

}  // namespace raz::win32::checks
