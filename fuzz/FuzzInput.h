// Reads a fuzzer's input as a sequence of choices. Every read succeeds:
// once the bytes run out, numbers come back as their lowest value and byte
// runs as empty, so a harness never has to check for the end.
#pragma once

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) { }

    bool empty() const { return at_ >= size_; }
    size_t left() const { return size_ - at_; }

    uint8_t byte() { return empty() ? 0 : data_[at_++]; }
    bool flag() { return byte() & 1; }
    // A number low..high (inclusive), from as few bytes as the range needs.
    int range(int low, int high)
    {
        const unsigned span = unsigned(high - low);
        unsigned value = byte();
        if (span > 0xFF)
            value = (value << 8) | byte();
        return low + int(span == 0 ? 0 : value % (span + 1));
    }
    // Up to count bytes, fewer where the input ends.
    QByteArray bytes(int count)
    {
        const int n = int(std::min<size_t>(size_t(count), left()));
        const QByteArray out(reinterpret_cast<const char *>(data_ + at_), n);
        at_ += size_t(n);
        return out;
    }
    QByteArray rest() { return bytes(int(left())); }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};
