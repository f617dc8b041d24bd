#pragma once
// Little-endian integers on binary streams, assembled byte by byte so files
// read the same on any host. A failed read leaves the stream failed and
// yields 0.
#include <cstdint>
#include <istream>
#include <ostream>

template <typename Unsigned>
void WriteLittleEndian(std::ostream& out, Unsigned value) {
  char bytes[sizeof(Unsigned)];
  for (size_t i = 0; i < sizeof(Unsigned); ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  out.write(bytes, sizeof bytes);
}

template <typename Unsigned>
Unsigned ReadLittleEndian(std::istream& in) {
  unsigned char bytes[sizeof(Unsigned)] = {};
  if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return 0;
  Unsigned value = 0;
  for (size_t i = 0; i < sizeof(Unsigned); ++i) value = static_cast<Unsigned>(value | (Unsigned{bytes[i]} << (8 * i)));
  return value;
}
