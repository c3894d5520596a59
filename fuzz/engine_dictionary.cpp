// Writes the fuzzer's dictionary: every text a rule's trigger names, once, in libFuzzer's dictionary
// syntax, so that the fuzzer puts those texts together sooner. Run by the build; the table is the
// only list of them.

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "rules/rule_table.h"

namespace {

// `text` as a quoted dictionary entry: quotes, backslashes and bytes outside printable ASCII escaped.
std::string entry(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte > 0x7E) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_dictionary OUTPUT\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "# Texts the rules' triggers name, written from the rule table by the build.\n";
  std::set<std::string_view> written;
  for (const aplpatch::RuleEntry& rule : aplpatch::lineRules()) {
    for (std::string_view text : rule.trigger.texts) {
      if (!text.empty() && written.insert(text).second) out << entry(text);
    }
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "engine_dictionary: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
