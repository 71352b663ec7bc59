// A sequence of names stored back to back in one buffer: appending a name costs no allocation of
// its own, which matters when a generated source defines and refers to tens of thousands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace zoltas {

class NameList {
  public:
    void push_back(std::string_view name) {
        // Offsets are 32-bit to keep the list small. 4 GiB of names is a limit of memory like
        // any other, and ends the run the same way: as an allocation that failed.
        if (chars_.size() + name.size() > UINT32_MAX) {
            throw std::bad_alloc();
        }
        chars_ += name;
        ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
    }
    void pop_back() {
        ends_.pop_back();
        chars_.resize(ends_.empty() ? 0 : ends_.back());
    }
    [[nodiscard]] std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(chars_).substr(begin, ends_[i] - begin);
    }
    [[nodiscard]] std::string_view back() const { return (*this)[ends_.size() - 1]; }
    [[nodiscard]] std::size_t size() const { return ends_.size(); }
    [[nodiscard]] bool empty() const { return ends_.empty(); }

  private:
    std::string chars_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace zoltas
