/* Preloaded into a peer program (LD_PRELOAD) to count the frames it really
 * shows: every call of SDL 1.2's SDL_Flip, SDL_UpdateRect(s) and SDL 2's
 * SDL_RenderPresent, SDL_UpdateWindowSurface(Rects) adds one to a counter
 * kept in the file named by FRAME_COUNT_FILE (8 bytes, little-endian),
 * mapped once, so counting costs no system call. An update of no rectangle
 * shows nothing and is not counted. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

static volatile uint64_t *counter;

static void count(void) {
  if (!counter) {
    const char *path = getenv("FRAME_COUNT_FILE");
    int fd = path ? open(path, O_RDWR | O_CREAT, 0644) : -1;
    if (fd < 0 || ftruncate(fd, 8) != 0) return;
    void *p = mmap(0, 8, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (p == MAP_FAILED) return;
    counter = p;
  }
  ++*counter;
}

#define NEXT(name) static void *next; if (!next) next = dlsym(RTLD_NEXT, name)

int SDL_Flip(void *screen) {
  NEXT("SDL_Flip");
  count();
  return ((int (*)(void *))next)(screen);
}
void SDL_UpdateRects(void *screen, int n, void *rects) {
  NEXT("SDL_UpdateRects");
  if (n > 0) count();
  ((void (*)(void *, int, void *))next)(screen, n, rects);
}
void SDL_UpdateRect(void *screen, int32_t x, int32_t y, uint32_t w, uint32_t h) {
  NEXT("SDL_UpdateRect");
  count();
  ((void (*)(void *, int32_t, int32_t, uint32_t, uint32_t))next)(screen, x, y, w, h);
}
void SDL_RenderPresent(void *renderer) {
  NEXT("SDL_RenderPresent");
  count();
  ((void (*)(void *))next)(renderer);
}
int SDL_UpdateWindowSurface(void *window) {
  NEXT("SDL_UpdateWindowSurface");
  count();
  return ((int (*)(void *))next)(window);
}
int SDL_UpdateWindowSurfaceRects(void *window, const void *rects, int n) {
  NEXT("SDL_UpdateWindowSurfaceRects");
  if (n > 0) count();
  return ((int (*)(void *, const void *, int))next)(window, rects, n);
}
