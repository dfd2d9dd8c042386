#include "answer_buffer.h"

#include <algorithm>
#include <cstring>

namespace ws {

namespace {
// A block is as large as what the answer holds already, within these bounds:
// a few blocks hold any answer, and the last one is never much larger than
// what it will hold.
constexpr size_t kSmallestBlock = 16 << 10;
constexpr size_t kLargestBlock = 1 << 20;
}  // namespace

void AnswerBuffer::Reset(unsigned long long limit) {
  std::vector<std::string>().swap(blocks_);
  size_ = readBlock_ = readOffset_ = 0;
  limit_ = limit;
  tooLarge_ = false;
}

void AnswerBuffer::Refuse() {
  Reset(limit_);
  tooLarge_ = true;
}

bool AnswerBuffer::Expect(unsigned long long length) {
  if (limit_ && length > limit_) {
    Refuse();
    return false;
  }
  if (!blocks_.empty() || length == 0) return true;
  try {
    blocks_.emplace_back().reserve(static_cast<size_t>(length));
  } catch (...) {
    Refuse();
    return false;
  }
  return true;
}

bool AnswerBuffer::Append(const char *bytes, size_t length) {
  if (limit_ && size_ + length > limit_) {
    Refuse();
    return false;
  }
  try {
    while (length > 0) {
      if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
        size_t room = std::clamp(size_, kSmallestBlock, kLargestBlock);
        if (limit_) room = static_cast<size_t>(std::min<unsigned long long>(room, limit_ - size_));
        blocks_.emplace_back().reserve(room);
      }
      std::string &block = blocks_.back();
      const size_t n = std::min(length, block.capacity() - block.size());
      block.append(bytes, n);
      bytes += n;
      length -= n;
      size_ += n;
    }
  } catch (...) {
    Refuse();
    return false;
  }
  return true;
}

size_t AnswerBuffer::Read(char *out, size_t size) {
  size_t done = 0;
  while (done < size && readBlock_ < blocks_.size()) {
    std::string &block = blocks_[readBlock_];
    const size_t n = std::min(size - done, block.size() - readOffset_);
    std::memcpy(out + done, block.data() + readOffset_, n);
    done += n;
    readOffset_ += n;
    if (readOffset_ == block.size()) {
      std::string().swap(block);
      ++readBlock_;
      readOffset_ = 0;
    }
  }
  return done;
}

std::string_view AnswerBuffer::Whole() {
  if (blocks_.empty()) return "";
  if (blocks_.size() > 1) {
    // Joined block by block, each released once copied.
    std::string whole;
    try {
      whole.reserve(size_);
    } catch (...) {
      return blocks_[0];  // no room for a copy: the first block only
    }
    for (std::string &block : blocks_) {
      whole.append(block);
      std::string().swap(block);
    }
    blocks_.resize(1);
    blocks_[0].swap(whole);
  }
  return blocks_[0];
}

}  // namespace ws
