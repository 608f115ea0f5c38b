// The audio path allocates nothing, and an instance whose delay memory
// cannot be allocated stays usable. Global allocation functions are
// replaced in this executable to count and to fail on request.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine_harness.h"
#include "fake_host.h"
#include "tests/host/temporary_settings.h"

namespace {

std::atomic<long> gAllocations{0};
// Requests at least this big fail while set (the delay memories are the
// only allocations of that size).
std::atomic<size_t> gFailFrom{0};

void* allocate(size_t size) noexcept {
  ++gAllocations;
  const size_t limit = gFailFrom;
  if (limit != 0 && size >= limit) return nullptr;
  return std::malloc(size ? size : 1);
}

}  // namespace

// The replacements below pair malloc with free; GCC cannot see that the
// replaced operator new is the malloc-based one and warns on each delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  if (void* p = allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

// Without a sanitizer, malloc itself is counted too (sanitizers own malloc).
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
std::atomic<long> gMallocs{0};
void* malloc(size_t size) {
  ++gMallocs;
  return __libc_malloc(size);
}
void* calloc(size_t n, size_t size) {
  ++gMallocs;
  return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size) {
  ++gMallocs;
  return __libc_realloc(p, size);
}
}
#define HALDEN_COUNTS_MALLOC 1
#endif

namespace {

long allocationsSoFar() {
#ifdef HALDEN_COUNTS_MALLOC
  return gAllocations + gMallocs;
#else
  return gAllocations;
#endif
}

constexpr size_t kMemoryAllocationSize = 100000;

std::vector<float> testSignal(size_t n) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = 0.3f * std::sin(0.05f * i);
  return v;
}

}  // namespace

TEST(AudioPathAllocation, ProcessReplacingAllocatesNothing) {
  {
    // The counter itself works.
    const long before = allocationsSoFar();
    auto* volatile probe = new std::vector<int>(100);
    delete probe;
    ASSERT_GT(allocationsSoFar(), before);
  }
  TemporarySettings folder;
  fake_host::resetSettings();
  fake_host::settings().hasTime = true;
  fake_host::Instance plugin;
  const auto in = testSignal(512);
  std::vector<float> outL(512), outR(512);
  float* inputs[2] = {const_cast<float*>(in.data()), const_cast<float*>(in.data())};
  float* outputs[2] = {outL.data(), outR.data()};
  AEffect* e = plugin.record();
  for (VstInt32 program : {0, 6, 10, 11}) {
    plugin.qel().selectProgram(program);
    e->processReplacing(e, inputs, outputs, 512);  // warm up outside the count
    const long before = allocationsSoFar();
    for (int block = 0; block < 200; ++block) e->processReplacing(e, inputs, outputs, 512);
    e->processReplacing(e, inputs, outputs, 0);
    EXPECT_EQ(allocationsSoFar() - before, 0) << "program " << program;
  }
}

TEST(AudioPathAllocation, EngineWithoutMemoryOutputsSilence) {
  gFailFrom = kMemoryAllocationSize;
  DelayEngine e;
  gFailFrom = 0;
  ASSERT_FALSE(e.hasMemory());
  const auto in = testSignal(1024);
  auto out = engine_test::render(e, in);
  for (float x : out.left) ASSERT_EQ(x, 0.0f);
  e.setParameter(kPower, engine_test::kOff);
  out = engine_test::render(e, in);
  EXPECT_EQ(out.left, in);
  e.setParameter(kPower, engine_test::kOn);
  // A later resume tries again.
  e.resume(44100.0f);
  ASSERT_TRUE(e.hasMemory());
  out = engine_test::render(e, in);
  EXPECT_NE(out.left[500], 0.0f);
}

TEST(AudioPathAllocation, PluginWithoutMemoryStaysUsable) {
  TemporarySettings folder;
  fake_host::resetSettings();
  gFailFrom = kMemoryAllocationSize;
  {
    fake_host::Instance plugin;
    ASSERT_NE(plugin.record(), nullptr);
    const auto out = plugin.render(testSignal(2048), 256);
    for (float x : out) ASSERT_EQ(x, 0.0f);
    plugin.setParameter(kMix, 0.2f);
    EXPECT_EQ(plugin.getParameter(kMix), 0.2f);
  }
  gFailFrom = 0;
}

// Every allocation of the editor's window fails: open answers false instead
// of throwing into the host, leaves no half-built panel, and the next open
// with memory to spare succeeds.
TEST(EditorAllocation, FailedOpenAnswersFalseAndTheInstanceStaysUsable) {
  TemporarySettings folder;
  fake_host::resetSettings();
  fake_host::Instance plugin;
  AEffEditor* editor = plugin.qel().getEditor();
  ASSERT_NE(editor, nullptr);

  gFailFrom = 1;  // every operator new throws, every nothrow form answers null
  bool opened = true;
  bool escaped = false;
  try {
    opened = editor->open(nullptr);
  } catch (...) {
    escaped = true;
  }
  const bool halfOpen = editor->isOpen();
  gFailFrom = 0;
  EXPECT_FALSE(escaped);
  EXPECT_FALSE(opened);
  EXPECT_FALSE(halfOpen);

  gFailFrom = 1;
  const VstIntPtr answer = plugin.dispatch(effEditOpen);
  gFailFrom = 0;
  EXPECT_EQ(answer, 0);

  EXPECT_EQ(plugin.dispatch(effEditOpen), 1);
  EXPECT_TRUE(editor->isOpen());
  plugin.dispatch(effEditClose);
  plugin.setParameter(kMix, 0.2f);
  EXPECT_EQ(plugin.getParameter(kMix), 0.2f);
  const auto out = plugin.render(testSignal(2048), 256);
  EXPECT_NE(out[1000], 0.0f);
}
