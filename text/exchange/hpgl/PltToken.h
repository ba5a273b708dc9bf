#pragma once
// A token gathered byte by byte across chunk boundaries. A token longer than
// any command can be is cut off and marked, so a file without separators
// cannot make it grow without bound.
#include <cstddef>
#include <string>

class PltToken {
 public:
  static constexpr std::size_t kMaxLength = 1024;

  void Append(char c) {
    if (text_.size() < kMaxLength)
      text_.push_back(c);
    else
      overlong_ = true;
  }
  void Clear() {
    text_.clear();
    overlong_ = false;
  }
  bool Empty() const { return text_.empty() && !overlong_; }
  bool Overlong() const { return overlong_; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  bool overlong_ = false;
};

// A coordinate number of a plot file: decimal text in the C locale; false when
// the text holds no number or one too large to be finite.
bool ParsePltNumber(const std::string& text, double& value);
// The same read like atof: text without a number gives 0.
double ParsePltValue(const std::string& text);
