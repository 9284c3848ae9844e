/* Times two commands in alternation, one start of each per pair, so that a
   machine whose speed drifts slows both alike; prints the median wall time
   of each in ms and the median of the per-pair ratios B/A. Both commands
   run with their output on /dev/null (their input on the file PAIRS_INPUT
   names, where it is set), and each run must exit with 0.
     pairs N COMMAND_A -- COMMAND_B */
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static double run(char** argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const char* input = getenv("PAIRS_INPUT");
  if (input) posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const double start = now();
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &actions, NULL, argv, environ) != 0) exit(2);
  int status;
  waitpid(pid, &status, 0);
  const double took = now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    /* A run that fails measures nothing. */
    fprintf(stderr, "pairs: %s failed\n", argv[0]);
    exit(3);
  }
  posix_spawn_file_actions_destroy(&actions);
  return took;
}

static int compare(const void* a, const void* b) {
  const double x = *(const double*)a, y = *(const double*)b;
  return x < y ? -1 : x > y;
}

static double median(double* v, int n) {
  qsort(v, (size_t)n, sizeof *v, compare);
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  const int n = atoi(argv[1]);
  char** a = argv + 2;
  int split = 2;
  while (split < argc && strcmp(argv[split], "--") != 0) ++split;
  if (split >= argc - 1 || n < 1) return 2;
  argv[split] = NULL;
  char** b = argv + split + 1;
  double* ta = malloc(sizeof(double) * (size_t)n);
  double* tb = malloc(sizeof(double) * (size_t)n);
  double* ratio = malloc(sizeof(double) * (size_t)n);
  for (int i = 0; i < 20; ++i) run(i % 2 ? b : a); /* warm-up */
  for (int i = 0; i < n; ++i) {
    ta[i] = run(a);
    tb[i] = run(b);
    ratio[i] = tb[i] / ta[i];
  }
  printf("%.3f %.3f %.3f\n", median(ta, n), median(tb, n), median(ratio, n));
  return 0;
}
