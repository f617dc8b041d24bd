#pragma once
// Written files checked by python3's own parsers, which know nothing of this
// program: what they take, other readers take. Where there is no python3 (the
// Windows build under Wine), the checks cannot run and the tests skip.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

inline bool HavePython3() {
#ifdef _WIN32
  return false;
#else
  static const bool present = std::system("python3 -c '' >/dev/null 2>&1") == 0;
  return present;
#endif
}

// True when `python3 -c script args...` exits with 0; its messages go to the
// test's output.
inline bool Python3Succeeds(const std::string& script, const std::vector<std::string>& args) {
  const auto quoted = [](const std::string& word) {
    std::string text = "'";
    for (const char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
  };
  std::string command = "python3 -c " + quoted(script);
  for (const std::string& arg : args) command += ' ' + quoted(arg);
  return std::system(command.c_str()) == 0;
}

// Whether every file is well-formed XML to python3's minidom.
inline bool XmlParserTakes(const std::vector<std::filesystem::path>& files) {
  std::vector<std::string> names;
  for (const std::filesystem::path& file : files) names.push_back(file.string());
  return Python3Succeeds("import sys, xml.dom.minidom\nfor name in sys.argv[1:]: xml.dom.minidom.parse(name)", names);
}
