// Measures how long a program takes from fork to its first mapped top-level
// window, and its peak resident memory shortly after, on the X display in
// $DISPLAY. Used by scripts/bench-gui.sh.
//
// Usage: xmap_timer [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARG]...
// Prints one line "map_ms=<ms> hwm_mib=<MiB> cpu_ms=<ms>" on success (cpu_ms:
// the CPU time the program had used when its window was mapped; -1 when
// unknown); exit status 0.
// Exit status 1 when the program ends or the timeout passes before a window is
// mapped, 2 on a usage or X error. The program is always ended before exit.
//
// The root window's SubstructureNotify is selected before the fork, so a map
// cannot slip by between exec and selection. Override-redirect windows
// (tooltips, pop-ups, splash tricks) do not count: the user sees a program as
// started when its managed window appears.
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static void SleepMs(long ms) {
  struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// VmHWM of PID in KiB, or -1 when /proc does not say.
static long PeakKiB(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  char line[256];
  long kib = -1;
  while (fgets(line, sizeof line, f)) {
    if (strncmp(line, "VmHWM:", 6) == 0) {
      kib = strtol(line + 6, NULL, 10);
      break;
    }
  }
  fclose(f);
  return kib;
}

// CPU time PID's live threads have run so far, in ms, from the scheduler's
// nanosecond counters; -1 when /proc does not say. On a loaded machine this
// moves far less than the wall-clock figure.
static double CpuMs(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR* dir = opendir(path);
  if (!dir) return -1;
  double total_ns = 0;
  int found = 0;
  struct dirent* entry;
  while ((entry = readdir(dir)) != NULL) {
    if (entry->d_name[0] == '.') continue;
    char stat_path[400];
    snprintf(stat_path, sizeof stat_path, "%s/%s/schedstat", path, entry->d_name);
    FILE* f = fopen(stat_path, "r");
    if (!f) continue;
    unsigned long long ns = 0;
    if (fscanf(f, "%llu", &ns) == 1) {
      total_ns += (double)ns;
      found = 1;
    }
    fclose(f);
  }
  closedir(dir);
  return found ? total_ns / 1e6 : -1;
}

// _NET_WM_PID of W, or 0 when the window does not carry one.
static long WindowPid(Display* dpy, Window w) {
  Atom pid_atom = XInternAtom(dpy, "_NET_WM_PID", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  long pid = 0;
  if (XGetWindowProperty(dpy, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data && format == 32 && count == 1) {
    pid = (long)*(unsigned long*)data;
  }
  if (data) XFree(data);
  return pid;
}

static int IgnoreXError(Display* dpy, XErrorEvent* ev) {
  (void)dpy;
  (void)ev;  // a window destroyed before we asked about it
  return 0;
}

// Ends the child: SIGTERM, then SIGKILL if it is still there after a second.
static void EndChild(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, NULL, WNOHANG) == pid) return;
    SleepMs(10);
  }
  kill(pid, SIGKILL);
  waitpid(pid, NULL, 0);
}

static void Usage(void) {
  fputs("usage: xmap_timer [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARG]...\n", stderr);
}

int main(int argc, char** argv) {
  long settle_ms = 300;
  long timeout_ms = 20000;
  int opt;
  while ((opt = getopt(argc, argv, "+s:t:")) != -1) {
    char* end = NULL;
    long value = strtol(optarg, &end, 10);
    if (!end || *end || value < 0) {
      Usage();
      return 2;
    }
    if (opt == 's') {
      settle_ms = value;
    } else if (opt == 't') {
      timeout_ms = value;
    } else {
      Usage();
      return 2;
    }
  }
  if (optind >= argc) {
    Usage();
    return 2;
  }

  Display* dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fputs("xmap_timer: cannot open the display\n", stderr);
    return 2;
  }
  XSetErrorHandler(IgnoreXError);
  XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
  XSync(dpy, False);  // the selection is live at the server before the clock starts
  int xfd = ConnectionNumber(dpy);
  fcntl(xfd, F_SETFD, FD_CLOEXEC);

  double start = NowMs();
  pid_t child = fork();
  if (child < 0) {
    perror("xmap_timer: fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[optind], argv + optind);
    fprintf(stderr, "xmap_timer: cannot run %s: %s\n", argv[optind], strerror(errno));
    _exit(127);
  }

  double mapped_at = -1;
  double cpu_at_map = -1;
  while (mapped_at < 0) {
    while (XPending(dpy) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type != MapNotify || ev.xmap.override_redirect) continue;
      double t = NowMs();
      // Another client's window (a desktop's panel, say) is not ours. A window
      // without _NET_WM_PID is taken as ours: the display is private.
      long pid = WindowPid(dpy, ev.xmap.window);
      if (pid != 0 && pid != (long)child) continue;
      mapped_at = t;
      cpu_at_map = CpuMs(child);
      break;
    }
    if (mapped_at >= 0) break;
    int status;
    if (waitpid(child, &status, WNOHANG) == child) {
      fprintf(stderr, "xmap_timer: the program ended (status %d) before mapping a window\n",
              WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
      return 1;
    }
    double left = start + (double)timeout_ms - NowMs();
    if (left <= 0) {
      fputs("xmap_timer: no window was mapped before the timeout\n", stderr);
      EndChild(child);
      return 1;
    }
    struct pollfd p = {xfd, POLLIN, 0};
    poll(&p, 1, left < 20 ? (int)left + 1 : 20);  // wakes now and then to see the child
  }

  SleepMs(settle_ms);
  long kib = PeakKiB(child);
  EndChild(child);
  XCloseDisplay(dpy);
  if (kib < 0) {
    fputs("xmap_timer: the program ended before its memory was read\n", stderr);
    return 1;
  }
  printf("map_ms=%.1f hwm_mib=%.1f cpu_ms=%.1f\n", mapped_at - start, (double)kib / 1024.0,
         cpu_at_map);
  return 0;
}
