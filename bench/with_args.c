/* Runs a program with arguments too large for a benchmark tool's own
   command line: each argument is either literal text or @FILE, which stands
   for the file's contents. Static and tiny, so it adds the same small cost
   to every command it starts.
     with_args PROGRAM [ARG | @FILE]... */
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

static char* slurp(const char* path) {
  int fd = open(path, O_RDONLY);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) _exit(120);
  char* text = malloc((size_t)st.st_size + 1);
  ssize_t got = read(fd, text, (size_t)st.st_size);
  if (got != st.st_size) _exit(121);
  text[got] = 0;
  close(fd);
  return text;
}

int main(int argc, char** argv) {
  if (argc < 2) return 122;
  for (int i = 2; i < argc; ++i)
    if (argv[i][0] == '@') argv[i] = slurp(argv[i] + 1);
  execv(argv[1], argv + 1);
  return 123;
}
