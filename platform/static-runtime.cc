// What the statically linked program (glibc or MinGW-w64, both with GCC's
// libstdc++) takes from libstdc++ in its place. The
// program is built without exceptions, and nothing in it catches one, so
// the library's throwing helpers would only end it; theirs drag in the
// whole exception runtime, the verbose terminate handler with the C++
// demangler, COW strings, std::random_device and the strtod family. Each
// replacement ends the program as an uncaught exception does: the same
// "terminate called ..." lines on standard error, then abort(). Linked into
// the static program only; the tests and the sanitizer builds keep the
// library's own. write() is POSIX's, and MinGW's C runtime has it too.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include <unistd.h>

namespace {

void Put(const char* text, size_t size) {
  while (size > 0) {
    // Messages are short; the cap suits MinGW's write, which counts in
    // unsigned int.
    const auto n = write(2, text, static_cast<unsigned>(size < 4096 ? size : 4096));
    if (n <= 0) return;  // nobody left to tell; abort still says it
    text += n;
    size -= static_cast<size_t>(n);
  }
}

void Put(const char* text) { Put(text, strlen(text)); }

// The library's last words for an exception nobody caught.
[[noreturn]] void DieOfUncaught(const char* typeName, const char* what) {
  Put("terminate called after throwing an instance of '");
  Put(typeName);
  Put("'\n  what():  ");
  Put(what);
  Put("\n");
  abort();
}

}  // namespace

namespace std {

void __throw_bad_alloc() { DieOfUncaught("std::bad_alloc", "std::bad_alloc"); }
void __throw_bad_array_new_length() { DieOfUncaught("std::bad_array_new_length", "std::bad_array_new_length"); }
void __throw_length_error(const char* what) { DieOfUncaught("std::length_error", what); }
void __throw_logic_error(const char* what) { DieOfUncaught("std::logic_error", what); }

// The library formats these messages with %zu, %s and %% only.
void __throw_out_of_range_fmt(const char* format, ...) {
  char text[512];
  size_t n = 0;
  va_list args;
  va_start(args, format);
  for (const char* p = format; *p && n + 24 < sizeof text; ++p) {
    if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
      char digits[24];
      size_t value = va_arg(args, size_t), k = 0;
      do digits[k++] = static_cast<char>('0' + value % 10); while ((value /= 10) != 0);
      while (k > 0) text[n++] = digits[--k];
      p += 2;
    } else if (p[0] == '%' && p[1] == 's') {
      for (const char* s = va_arg(args, const char*); *s && n + 24 < sizeof text; ++s) text[n++] = *s;
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      text[n++] = '%';
      ++p;
    } else {
      text[n++] = *p;
    }
  }
  va_end(args);
  text[n] = '\0';
  DieOfUncaught("std::out_of_range", text);
}

}  // namespace std

// No new-handler is ever set, so running out of memory is bad_alloc.
void* operator new(std::size_t size) {
  if (void* p = malloc(size ? size : 1)) return p;
  DieOfUncaught("std::bad_alloc", "std::bad_alloc");
}
