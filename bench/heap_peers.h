#pragma once

// General-purpose allocators measured beside the pool. Each is loaded from its shared library at run time
// with its symbols kept local and called through its own entry points (never malloc/free), so the process's
// malloc stays the C library's: neither the pool's heap nor the malloc peer changes by loading them. The
// build defines the path of each library it found; one it did not find is not measured.

#include <dlfcn.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Each library's entry points, once loaded; null while it is not.
struct HeapPeers {
  void* (*miMalloc)(size_t) = nullptr;
  void (*miFree)(void*) = nullptr;
  void* (*jeMallocx)(size_t, int) = nullptr;
  void (*jeSdallocx)(void*, size_t, int) = nullptr;  // the sized release, jemalloc's fastest way back
};

inline HeapPeers theHeapPeers;

namespace heap_peers {

template <class Function>
bool load(void* library, const char* symbol, Function*& out) {
  out = library ? reinterpret_cast<Function*>(dlsym(library, symbol)) : nullptr;
  return out != nullptr;
}

// Opens the library and loads both entry points, or says on stderr why not and leaves both null.
template <class Allocate, class Release>
void loadPair(const char* path, const char* allocateName, Allocate*& allocate, const char* releaseName,
              Release*& release) {
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (load(library, allocateName, allocate) && load(library, releaseName, release)) return;
  std::fprintf(stderr, "heap peer %s not loaded: %s\n", path, library ? "entry point missing" : dlerror());
  allocate = nullptr;
  release = nullptr;
}

}  // namespace heap_peers

// jemalloc keeps its thread state in initial-exec thread-local storage, which a library opened at run time
// must find in the loader's reserve of static TLS, too small for it by default. The program therefore starts
// itself again, once, with a larger reserve; nothing else about the process changes. Call first in main.
inline void reserveStaticTlsForHeapPeers([[maybe_unused]] char** argv) {
#ifdef PALPERA_JEMALLOC_LIBRARY
  constexpr const char* kReserve = "glibc.rtld.optional_static_tls=1048576";
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables && std::strstr(tunables, "glibc.rtld.optional_static_tls=")) return;
  const std::string wanted = tunables ? std::string(tunables) + ":" + kReserve : kReserve;
  setenv("GLIBC_TUNABLES", wanted.c_str(), 1);
  execv("/proc/self/exe", argv);
  std::perror("heap peers: restart with a larger static TLS reserve");  // only reached when it failed
#endif
}

// Loads every peer library the build found; call once before any benchmark runs.
inline void loadHeapPeers() {
  [[maybe_unused]] HeapPeers& peers = theHeapPeers;
#ifdef PALPERA_MIMALLOC_LIBRARY
  heap_peers::loadPair(PALPERA_MIMALLOC_LIBRARY, "mi_malloc", peers.miMalloc, "mi_free", peers.miFree);
#endif
#ifdef PALPERA_JEMALLOC_LIBRARY
  heap_peers::loadPair(PALPERA_JEMALLOC_LIBRARY, "mallocx", peers.jeMallocx, "sdallocx", peers.jeSdallocx);
#endif
}
