// The body of one HTTP answer, as the transport receives it and the runtime
// reads it.  The body is held in blocks that are never moved or copied while
// it grows, so that an answer near its limit takes about its own size in
// memory; an answer known to exceed the limit is refused at once and its
// bytes released.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ws {

class AnswerBuffer {
 public:
  // Empties the buffer, releasing its memory, for an answer of at most limit
  // bytes (0: no limit).
  void Reset(unsigned long long limit);

  // The answer announced its length: false (the answer refused) when that is
  // over the limit; otherwise room for all of it at once.
  bool Expect(unsigned long long length);

  // false, with the answer refused, when it grows past the limit or memory
  // runs out.
  bool Append(const char *bytes, size_t length);

  // Moves up to size bytes of the answer into out, releasing each block read
  // whole; returns how many.
  size_t Read(char *out, size_t size);

  // The whole answer in one piece, before any Read.
  std::string_view Whole();

  size_t size() const { return size_; }
  bool tooLarge() const { return tooLarge_; }

 private:
  void Refuse();

  std::vector<std::string> blocks_;
  size_t size_ = 0;
  size_t readBlock_ = 0, readOffset_ = 0;
  unsigned long long limit_ = 0;
  bool tooLarge_ = false;
};

}  // namespace ws
