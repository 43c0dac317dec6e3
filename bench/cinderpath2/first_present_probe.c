// SPDX-License-Identifier: Zlib
/* Preloaded into a program whose start-up is measured: on the program's first buffer swap it
 * presents the frame as usual, writes the monotonic clock in nanoseconds to the file named by
 * QM_FIRST_PRESENT_FILE and ends the process at once, so nothing after the first frame is timed
 * and no shut-down work is done. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapFunction)(void*);

void SDL_GL_SwapWindow(void* window)
{
    SwapFunction swap = (SwapFunction)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (swap != NULL)
    {
        swap(window);
    }
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = getenv("QM_FIRST_PRESENT_FILE");
    if (path != NULL)
    {
        FILE* file = fopen(path, "w");
        if (file != NULL)
        {
            fprintf(file, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
            fclose(file);
        }
    }
    _exit(0);
}
