#include "driver/label_check.h"

#include <cstring>

namespace aplpatch {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isNameByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void LabelScan::feed(const char* data, std::size_t size) {
  while (size > 0) {
    const auto* newline = static_cast<const char*>(std::memchr(data, '\n', size));
    const std::size_t run = newline == nullptr ? size : static_cast<std::size_t>(newline - data);
    if (!tooLong_) {
      if (partial_.size() + run > kLongest) {
        tooLong_ = true;
        partial_.clear();
      } else {
        partial_.append(data, run);
      }
    }
    if (newline == nullptr) return;
    ++line_;
    if (!tooLong_) takeLine(partial_);
    partial_.clear();
    tooLong_ = false;
    data += run + 1;
    size -= run + 1;
  }
}

void LabelScan::end() {
  if (partial_.empty() && !tooLong_) return;
  ++line_;
  if (!tooLong_) takeLine(partial_);
  partial_.clear();
  tooLong_ = false;
}

void LabelScan::takeLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  const std::size_t start = i;
  while (i < line.size() && isNameByte(line[i])) ++i;
  if (i == start || i == line.size() || line[i] != ':') return;
  for (std::size_t rest = i + 1; rest < line.size(); ++rest) {
    if (!isBlank(line[rest])) return;
  }
  std::string name(line.substr(start, i - start));
  for (char& c : name) c = upper(c);
  if (names_.insert(name).second) labels_.push_back({std::move(name), line_});
}

ByteSource& LabelCheck::watchInput(ByteSource& generated) {
  source_.inner = &generated;
  return source_;
}

ByteSink& LabelCheck::watchOutput(ByteSink& rewritten) {
  sink_.inner = &rewritten;
  return sink_;
}

std::vector<LostLabel> LabelCheck::lost() {
  generated_.end();
  rewritten_.end();
  std::vector<LostLabel> lost;
  for (const LostLabel& label : generated_.labels()) {
    if (!rewritten_.defines(label.name)) lost.push_back(label);
  }
  return lost;
}

}  // namespace aplpatch
