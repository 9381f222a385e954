// Reals in their short form: the digits of Grisu2 (Loitsch, "Printing Floating-Point Numbers
// Quickly and Accurately with Integers", 2010), whose narrowed boundaries make them read back
// exactly. Grisu2 is not always the shortest there is (one real in a few hundred gets a digit
// more, or another last digit): these are the digits the JSON documents have always had.
#include "json_real.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vzhost {
namespace {

// f * 2^e.
struct Binary {
    std::uint64_t f;
    int e;
};

// The upper 64 bits of the product, rounded half up.
Binary Multiply(Binary a, Binary b) {
    const std::uint64_t mask = 0xFFFFFFFFu;
    const std::uint64_t aLow = a.f & mask, aHigh = a.f >> 32;
    const std::uint64_t bLow = b.f & mask, bHigh = b.f >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh;
    const std::uint64_t highLow = aHigh * bLow, highHigh = aHigh * bHigh;
    std::uint64_t middle = (lowLow >> 32) + (lowHigh & mask) + (highLow & mask);
    middle += std::uint64_t{1} << 31;
    return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32), a.e + b.e + 64};
}

Binary Normalized(Binary x) {
    while ((x.f >> 63) == 0) {
        x.f <<= 1;
        --x.e;
    }
    return x;
}

// 10^k for k = -300, -292, ..., 324 as 64-bit significands rounded half up, computed on first
// use with exact integers.
constexpr int kFirstPower = -300;
constexpr int kPowerStep = 8;
constexpr int kPowers = 79;

// A natural number below 2^1280, in little-endian 32-bit limbs: enough for 10^324.
class Natural {
public:
    explicit Natural(std::uint32_t value) { m_limbs[0] = value; }
    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int k = 0; k < m_size; ++k) {
            carry += std::uint64_t{m_limbs[k]} * factor;
            m_limbs[k] = std::uint32_t(carry);
            carry >>= 32;
        }
        if (carry != 0) {
            m_limbs[m_size++] = std::uint32_t(carry);
        }
    }
    void Double() { MultiplyBy(2); }
    int Bits() const {
        int bits = (m_size - 1) * 32;
        for (std::uint32_t top = m_limbs[m_size - 1]; top != 0; top >>= 1) {
            ++bits;
        }
        return bits;
    }
    bool Bit(int k) const { return k >= 0 && ((m_limbs[k / 32] >> (k % 32)) & 1) != 0; }
    bool AtLeast(const Natural& other) const {
        if (m_size != other.m_size) {
            return m_size > other.m_size;
        }
        for (int k = m_size - 1; k >= 0; --k) {
            if (m_limbs[k] != other.m_limbs[k]) {
                return m_limbs[k] > other.m_limbs[k];
            }
        }
        return true;
    }
    void Subtract(const Natural& other) {
        std::int64_t borrow = 0;
        for (int k = 0; k < m_size; ++k) {
            std::int64_t d =
                std::int64_t{m_limbs[k]} - (k < other.m_size ? other.m_limbs[k] : 0) - borrow;
            borrow = d < 0 ? 1 : 0;
            m_limbs[k] = std::uint32_t(d + (borrow << 32));
        }
        while (m_size > 1 && m_limbs[m_size - 1] == 0) {
            --m_size;
        }
    }

private:
    std::uint32_t m_limbs[40] = {};
    int m_size = 1;
};

struct CachedPower {
    std::uint64_t f;
    int e;
    int k;
};

// 10^k rounded to 64 bits, half up.
CachedPower PowerOfTen(int k) {
    Natural power(1);
    for (int n = 0; n < (k < 0 ? -k : k); ++n) {
        power.MultiplyBy(10);
    }
    std::uint64_t f = 0;
    int e = 0;
    bool roundUp = false;
    if (k >= 0) {
        const int bits = power.Bits();
        for (int b = bits - 1; b >= bits - 64; --b) {
            f = (f << 1) | (power.Bit(b) ? 1 : 0);
        }
        e = bits - 64;
        roundUp = power.Bit(bits - 65);
    } else {
        // The bits of 1 / 10^-k by long division, from the first that is set.
        Natural remainder(1);
        int position = 0;
        int taken = 0;
        while (taken < 64) {
            remainder.Double();
            ++position;
            const bool bit = remainder.AtLeast(power);
            if (bit) {
                remainder.Subtract(power);
            }
            if (taken > 0 || bit) {
                f = (f << 1) | (bit ? 1 : 0);
                ++taken;
            }
        }
        e = -position;
        remainder.Double();
        roundUp = remainder.AtLeast(power);
    }
    if (roundUp && ++f == 0) {
        f = std::uint64_t{1} << 63;
        ++e;
    }
    return {f, e, k};
}

// The driver is single-threaded; the table is plain data, so no guard is needed.
const CachedPower& CachedPowerFor(int index) {
    static CachedPower powers[kPowers];
    static bool made = false;
    if (!made) {
        for (int i = 0; i < kPowers; ++i) {
            powers[i] = PowerOfTen(kFirstPower + kPowerStep * i);
        }
        made = true;
    }
    return powers[index];
}

// A cached power c with alpha <= e + c.e + 64 <= gamma, so the scaled value's integral part
// fits 32 bits.
const CachedPower& CachedPowerForExponent(int e) {
    constexpr int kAlpha = -60;
    const int f = kAlpha - e - 1;
    const int k = (f * 78913) / (1 << 18) + (f > 0 ? 1 : 0); // ceil(f * log10(2))
    return CachedPowerFor((-kFirstPower + k + (kPowerStep - 1)) / kPowerStep);
}

// The number of decimal digits of n (n > 0) and 10 to that number less one.
int DigitsOf(std::uint32_t n, std::uint32_t& power) {
    int digits = 1;
    power = 1;
    while (n / power >= 10) {
        power *= 10;
        ++digits;
    }
    return digits;
}

// Moves the last digit toward w while it stays within the interval and comes closer.
void RoundTowardValue(char* digits, int length, std::uint64_t distance, std::uint64_t delta,
                      std::uint64_t rest, std::uint64_t unit) {
    while (rest < distance && delta - rest >= unit &&
           (rest + unit < distance || distance - rest > rest + unit - distance)) {
        --digits[length - 1];
        rest += unit;
    }
}

// Digits of the scaled upper boundary, until what is left lies within the interval.
void GenerateDigits(char* digits, int& length, int& exponent, Binary low, Binary w, Binary high) {
    std::uint64_t delta = high.f - low.f;
    std::uint64_t distance = high.f - w.f;
    const int shift = -high.e;
    const std::uint64_t one = std::uint64_t{1} << shift;
    std::uint32_t integral = std::uint32_t(high.f >> shift);
    std::uint64_t fraction = high.f & (one - 1);
    std::uint32_t power = 1;
    int n = DigitsOf(integral, power);
    while (n > 0) {
        digits[length++] = char('0' + integral / power);
        integral %= power;
        --n;
        const std::uint64_t rest = (std::uint64_t{integral} << shift) + fraction;
        if (rest <= delta) {
            exponent += n;
            RoundTowardValue(digits, length, distance, delta, rest, std::uint64_t{power} << shift);
            return;
        }
        power /= 10;
    }
    int m = 0;
    for (;;) {
        fraction *= 10;
        digits[length++] = char('0' + (fraction >> shift));
        fraction &= one - 1;
        ++m;
        delta *= 10;
        distance *= 10;
        if (fraction <= delta) {
            break;
        }
    }
    exponent -= m;
    RoundTowardValue(digits, length, distance, delta, fraction, one);
}

// The digits of value > 0 and the power of ten they are scaled by.
void ShortDigits(double value, char* digits, int& length, int& exponent) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint64_t fractionBits = bits & ((std::uint64_t{1} << 52) - 1);
    const int biased = int(bits >> 52);
    const Binary v = biased == 0 ? Binary{fractionBits, -1074}
                                 : Binary{fractionBits + (std::uint64_t{1} << 52), biased - 1075};
    const bool lowerIsCloser = fractionBits == 0 && biased > 1;
    const Binary plus = Normalized({2 * v.f + 1, v.e - 1});
    Binary minus = lowerIsCloser ? Binary{4 * v.f - 1, v.e - 2} : Binary{2 * v.f - 1, v.e - 1};
    minus = {minus.f << (minus.e - plus.e), plus.e};
    const CachedPower& cached = CachedPowerForExponent(plus.e);
    const Binary c{cached.f, cached.e};
    const Binary w = Multiply(Normalized(v), c);
    const Binary low = Multiply(minus, c);
    const Binary high = Multiply(plus, c);
    length = 0;
    exponent = -cached.k;
    GenerateDigits(digits, length, exponent, {low.f + 1, low.e}, w, {high.f - 1, high.e});
}

char* WriteExponent(char* out, int e) {
    *out++ = e < 0 ? '-' : '+';
    const int magnitude = e < 0 ? -e : e;
    if (magnitude >= 100) {
        *out++ = char('0' + magnitude / 100);
    }
    *out++ = char('0' + magnitude / 10 % 10);
    *out++ = char('0' + magnitude % 10);
    return out;
}

} // namespace

std::size_t JsonRealText(double value, char* text) {
    char* out = text;
    if (std::signbit(value)) {
        *out++ = '-';
        value = -value;
    }
    if (value == 0.0) {
        std::memcpy(out, "0.0", 3);
        return std::size_t(out + 3 - text);
    }
    char digits[20];
    int length = 0;
    int exponent = 0;
    ShortDigits(value, digits, length, exponent);
    const int point = length + exponent; // digits before the decimal point
    constexpr int kLongestFixed = 15;
    if (length <= point && point <= kLongestFixed) {
        std::memcpy(out, digits, std::size_t(length));
        out += length;
        std::memset(out, '0', std::size_t(point - length));
        out += point - length;
        std::memcpy(out, ".0", 2);
        out += 2;
    } else if (0 < point && point <= kLongestFixed) {
        std::memcpy(out, digits, std::size_t(point));
        out += point;
        *out++ = '.';
        std::memcpy(out, digits + point, std::size_t(length - point));
        out += length - point;
    } else if (-4 < point && point <= 0) {
        std::memcpy(out, "0.", 2);
        out += 2;
        std::memset(out, '0', std::size_t(-point));
        out += -point;
        std::memcpy(out, digits, std::size_t(length));
        out += length;
    } else {
        *out++ = digits[0];
        if (length > 1) {
            *out++ = '.';
            std::memcpy(out, digits + 1, std::size_t(length - 1));
            out += length - 1;
        }
        *out++ = 'e';
        out = WriteExponent(out, point - 1);
    }
    return std::size_t(out - text);
}

} // namespace vzhost
