// The headless INI against the system's profile functions on the same files: what the tests
// on Linux assume must hold on Windows.
#include <fstream>
#include <utility>

#include "check_harness.h"
#include "platform/headless/headless_profile.h"
#include "platform/win32/win32_profile.h"

namespace raz::win32::checks {
namespace {

constexpr char kIni[] =
    "[PARAMETERS]\r\nvkey = 0x1 \r\nPen=  12  \r\n"
    "APPCaption=\"Quoted Caption\"\r\nAPPClassName='single'\r\nHalf=\"open\r\n"
    "Dup=first\r\nDup=second\r\n Spaced Key = v w \r\nNoEquals\r\n"
    "[parameters]\r\nLate=yes\r\n"
    "[ language ]\r\nSelect=1\r\n;Commented=3\r\nEmpty=\r\n";

struct Entry {
  const char* section;
  const char* key;
  const char* value;  // the fallback of a lookup
};

// Spaces, quotes, duplicates, case, comments; missing sections and keys.
// clang-format off
constexpr Entry kLookups[] = {
    {"PARAMETERS", "vkey", "d"}, {"parameters", "VKEY", "d"}, {"PARAMETERS", "Pen", "d"},
    {"PARAMETERS", "APPCaption", "d"}, {"PARAMETERS", "APPClassName", "d"},
    {"PARAMETERS", "Half", "d"}, {"PARAMETERS", "Dup", "d"}, {"PARAMETERS", "Spaced Key", "d"},
    {"PARAMETERS", "NoEquals", "d"}, {"PARAMETERS", "Late", "d"}, {"language", "SELECT", "d"},
    {"language", ";Commented", "d"}, {"language", "Commented", "d"}, {"language", "Empty", "d"},
    {"Missing", "x", "fallback"}, {"language", "Missing", ""},
    {"VKeyCali", "VKeyPoint_L_TopX", "d"}, {"New Section", "k", "d"}};

// A key in another case, a new key, a new section; every other line must stay.
constexpr Entry kWrites[] = {
    {"PARAMETERS", "VKEY", "0"}, {"VKeyCali", "VKeyPoint_L_TopX", "-3"},
    {"language", "select", "2"}, {"New Section", "k", "v"}};

// Each subject file against its reference: as given, after the same writes over it and into a
// missing file by the system (reference) and headless (subject), and missing.
constexpr std::pair<const char*, const char*> kFiles[] = {
    {"given.ini", "given.ini"}, {"system.ini", "headless.ini"},
    {"new_system.ini", "new_headless.ini"}, {"missing.ini", "missing.ini"}};
// clang-format on

// Headless reading each reference file, and the system reading its subject, must both see
// what the system sees in the reference.
std::string RunParity() {
  const std::string dir = ScratchFolder("profile");
  for (const char* name : {"given.ini", "system.ini", "headless.ini"}) {
    std::ofstream(PathOf(dir + name), std::ios::binary) << kIni;
  }
  Win32Profile system;
  HeadlessProfile headless;
  for (const Entry& w : kWrites) {
    for (const char* file : {"system.ini", "new_system.ini"}) {
      if (!system.WriteString(dir + file, w.section, w.key, w.value)) return "system refused";
    }
    for (const char* file : {"headless.ini", "new_headless.ini"}) {
      if (!headless.WriteString(dir + file, w.section, w.key, w.value)) return "headless refused";
    }
  }
  std::string problems;
  for (const auto& [reference, subject] : kFiles) {
    for (const Entry& l : kLookups) {
      const std::string want = system.ReadString(dir + reference, l.section, l.key, l.value);
      const std::string entry = std::string(" [") + l.section + "] " + l.key;
      problems += Expect(headless.ReadString(dir + reference, l.section, l.key, l.value), want,
                         std::string("headless in ") + reference + entry) +
                  Expect(system.ReadString(dir + subject, l.section, l.key, l.value), want,
                         std::string("system in ") + subject + entry);
    }
  }
  for (const Entry& w : kWrites) {
    problems += Expect(system.ReadString(dir + "headless.ini", w.section, w.key, ""), w.value,
                       std::string(w.key) + " written by headless");
  }
  return problems;
}

}  // namespace

std::vector<Case> ProfileCases() {
  return {{"Profile_HeadlessReadsAndWritesAsTheSystemDoes", RunParity}};
}

}  // namespace raz::win32::checks
