#include "text/double_byte.h"

#include "text/utf16.h"

namespace {

#include "text/double_byte_tables.inc"

// A table of characters by lead and trail byte.
struct TDoubleByteTableRec {
  const char16_t* Units;
  unsigned char LeadLo, LeadHi, TrailLo, TrailHi;
};

constexpr TDoubleByteTableRec Gbk = {GbkUnits, 0x81, 0xFE, 0x40, 0xFE};
constexpr TDoubleByteTableRec Big5 = {Big5Units, 0x81, 0xFE, 0x40, 0xFE};
constexpr TDoubleByteTableRec EucKr = {EucKrUnits, 0xA1, 0xFE, 0xA1, 0xFE};
constexpr TDoubleByteTableRec Jis0208 = {Jis0208Units, 0xA1, 0xFE, 0xA1, 0xFE};
constexpr TDoubleByteTableRec Jis0212 = {Jis0212Units, 0xA1, 0xFE, 0xA1, 0xFE};

// The character at lead and trail, 0 when there is none.
char16_t TableChar(const TDoubleByteTableRec& t, unsigned lead, unsigned trail) {
  if (lead < t.LeadLo || lead > t.LeadHi || trail < t.TrailLo || trail > t.TrailHi) return 0;
  return t.Units[(lead - t.LeadLo) * (t.TrailHi - t.TrailLo + 1u) + (trail - t.TrailLo)];
}

constexpr char32_t HalfWidthKatakana = 0xFF61;     // its bytes A1-DF, in order
constexpr uint32_t Gb18030Supplementary = 189000;  // linear index of 90 30 81 30
constexpr uint32_t Gb18030BmpCodes = 39420;        // four-byte codes below 84 31 A4 39+1

// The linear index of a GB18030 four-byte code, counted from 81 30 81 30.
uint32_t Gb18030Index(const unsigned char* s) {
  return (((s[0] - 0x81u) * 10 + (s[1] - 0x30u)) * 126 + (s[2] - 0x81u)) * 10 + (s[3] - 0x30u);
}

// The run of Gb18030Runs that holds linear index (byCode false) or code
// point (byCode true): both grow together, so one binary search serves.
const uint32_t* Gb18030Run(uint32_t value, bool byCode) {
  const size_t k = byCode ? 1 : 0;
  size_t lo = 0, hi = sizeof Gb18030Runs / sizeof Gb18030Runs[0];
  while (hi - lo > 1) {
    const size_t mid = (lo + hi) / 2;
    if (Gb18030Runs[mid][k] <= value)
      lo = mid;
    else
      hi = mid;
  }
  return Gb18030Runs[lo];
}

// Decodes the character at s (n bytes left, s[0] above 0x7F) into c and
// returns its length in bytes; 0 when s[0] starts no valid character.
size_t DecodeChar(const unsigned char* s, size_t n, uint32_t cp, char32_t& c) {
  const unsigned b = s[0];
  switch (cp) {
    case CodePageGb18030:
      if (n >= 4 && s[1] >= 0x30 && s[1] <= 0x39 && s[2] >= 0x81 && s[2] <= 0xFE && s[3] >= 0x30 && s[3] <= 0x39 &&
          b >= 0x81 && b <= 0xFE) {
        const uint32_t index = Gb18030Index(s);
        if (index < Gb18030BmpCodes) {
          const uint32_t* run = Gb18030Run(index, false);
          c = run[1] + (index - run[0]);
          return 4;
        }
        if (index >= Gb18030Supplementary && index - Gb18030Supplementary <= 0xFFFFF) {
          c = 0x10000 + (index - Gb18030Supplementary);
          return 4;
        }
        return 0;
      }
      [[fallthrough]];
    case CodePageGbk: c = n >= 2 && s[1] != 0x7F ? TableChar(Gbk, b, s[1]) : 0; return c ? 2 : 0;
    case CodePageBig5: c = n >= 2 ? TableChar(Big5, b, s[1]) : 0; return c ? 2 : 0;
    case CodePageEucKr: c = n >= 2 ? TableChar(EucKr, b, s[1]) : 0; return c ? 2 : 0;
    case CodePageEucJp:
      if (b == 0x8E) {
        c = n >= 2 && s[1] >= 0xA1 && s[1] <= 0xDF ? HalfWidthKatakana + (s[1] - 0xA1) : 0;
        return c ? 2 : 0;
      }
      if (b == 0x8F) {
        c = n >= 3 ? TableChar(Jis0212, s[1], s[2]) : 0;
        return c ? 3 : 0;
      }
      c = n >= 2 ? TableChar(Jis0208, b, s[1]) : 0;
      return c ? 2 : 0;
    case CodePageShiftJis: {
      if (b >= 0xA1 && b <= 0xDF) {
        c = HalfWidthKatakana + (b - 0xA1);
        return 1;
      }
      c = 0;
      if (n < 2 || !((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF))) return 0;
      const unsigned t = s[1];
      if (t < 0x40 || t > 0xFC || t == 0x7F) return 0;
      // Two JIS rows share a lead byte; the trail says which.
      const unsigned row = 2 * (b < 0xA0 ? b - 0x70 : b - 0xB0) - (t < 0x9F ? 1 : 0);
      const unsigned cell = t < 0x9F ? t - (t >= 0x80 ? 0x20 : 0x1F) : t - 0x7E;
      c = TableChar(Jis0208, row + 0x80, cell + 0x80);
      return c ? 2 : 0;
    }
    default: return 0;
  }
}

// Bytes of a character packed as length << 24 | b1 << 16 | b2 << 8 | b3.
uint32_t Pack(unsigned b1, unsigned b2) { return 2u << 24 | b1 << 16 | b2 << 8; }

void AddTable(uint32_t* inverse, const TDoubleByteTableRec& t, unsigned prefix) {
  for (unsigned lead = t.LeadLo; lead <= t.LeadHi; ++lead) {
    for (unsigned trail = t.TrailLo; trail <= t.TrailHi; ++trail) {
      const char16_t u = TableChar(t, lead, trail);
      if (u == 0 || inverse[u] != 0) continue;  // the first code of a character wins
      inverse[u] = prefix ? (3u << 24 | prefix << 16 | lead << 8 | trail) : Pack(lead, trail);
    }
  }
}

// Bytes of every character of the Basic Multilingual Plane in cp that a
// table holds: made on the first encoding into cp, which most runs never
// need (their output is ASCII, or the text's own bytes).
const uint32_t* InverseTable(uint32_t cp) {
  static uint32_t* tables[6] = {};
  const int slot = cp == CodePageShiftJis ? 0
                   : cp == CodePageGbk    ? 1
                   : cp == CodePageBig5   ? 2
                   : cp == CodePageEucJp  ? 3
                   : cp == CodePageEucKr  ? 4
                                          : 5;
  if (tables[slot]) return tables[slot];
  uint32_t* inverse = new uint32_t[0x10000]();
  switch (cp) {
    case CodePageGb18030:
    case CodePageGbk: AddTable(inverse, Gbk, 0); break;
    case CodePageBig5: AddTable(inverse, Big5, 0); break;
    case CodePageEucKr: AddTable(inverse, EucKr, 0); break;
    case CodePageEucJp:
      AddTable(inverse, Jis0208, 0);
      AddTable(inverse, Jis0212, 0x8F);
      for (unsigned k = 0; k <= 0xDF - 0xA1; ++k) inverse[HalfWidthKatakana + k] = Pack(0x8E, 0xA1 + k);
      break;
    case CodePageShiftJis:
      for (unsigned row = 0x21; row <= 0x7E; ++row) {
        for (unsigned cell = 0x21; cell <= 0x7E; ++cell) {
          const char16_t u = TableChar(Jis0208, row + 0x80, cell + 0x80);
          if (u == 0 || inverse[u] != 0) continue;
          const unsigned lead = (row + 1) / 2 + (row <= 0x5E ? 0x70 : 0xB0);
          const unsigned trail = (row & 1) ? cell + (cell <= 0x5F ? 0x1F : 0x20) : cell + 0x7E;
          inverse[u] = Pack(lead, trail);
        }
      }
      for (unsigned k = 0; k <= 0xDF - 0xA1; ++k) inverse[HalfWidthKatakana + k] = 1u << 24 | (0xA1 + k) << 16;
      break;
    default: break;
  }
  tables[slot] = inverse;
  return inverse;
}

void AppendPacked(std::string& out, uint32_t packed) {
  const unsigned length = packed >> 24;
  for (unsigned k = 0; k < length; ++k) out.push_back(static_cast<char>(packed >> (16 - 8 * k)));
}

// GB18030's four-byte form of index.
void AppendGb18030(std::string& out, uint32_t index) {
  out.push_back(static_cast<char>(0x81 + index / 12600));
  out.push_back(static_cast<char>(0x30 + index / 1260 % 10));
  out.push_back(static_cast<char>(0x81 + index / 10 % 126));
  out.push_back(static_cast<char>(0x30 + index % 10));
}

}  // namespace

std::u16string DecodeDoubleByte(std::string_view text, uint32_t cp) {
  // Never more units than bytes: size once, write by index, cut at the end.
  std::u16string out(text.size(), u'\0');
  char16_t* o = out.data();
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    if (s[i] < 0x80) {
      *o++ = s[i++];
      continue;
    }
    char32_t c;
    const size_t length = DecodeChar(s + i, text.size() - i, cp, c);
    if (length == 0) {
      *o++ = ByteEscape(s[i++]);
      continue;
    }
    o = PutUtf16(o, c);
    i += length;
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

std::string EncodeDoubleByte(std::u16string_view text, uint32_t cp) {
  std::string out;
  out.reserve(text.size());
  size_t width;
  for (size_t i = 0; i < text.size(); i += width) {
    const char32_t c = EncodableCodePointAt(text, i, width);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c <= 0xFFFF) {
      if (const uint32_t packed = InverseTable(cp)[c]) {
        AppendPacked(out, packed);
        continue;
      }
    }
    if (cp == CodePageGb18030) {
      // What the two-byte table lacks has a four-byte form: every
      // character has one.
      if (c > 0xFFFF) {
        AppendGb18030(out, Gb18030Supplementary + (c - 0x10000));
        continue;
      }
      const uint32_t* run = Gb18030Run(c, true);
      const uint32_t index = run[0] + (c - run[1]);
      const bool last = run == Gb18030Runs[sizeof Gb18030Runs / sizeof Gb18030Runs[0] - 1];
      if (index < (last ? Gb18030BmpCodes : run[2])) {
        AppendGb18030(out, index);
        continue;
      }
    }
    out.push_back('?');
  }
  return out;
}
