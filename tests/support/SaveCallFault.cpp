#include "SaveCallFault.h"

#include <algorithm>

#include "storage/DurableFile.h"

namespace {
struct TState {
  TSaveCallFault Fault;
  TSaveSystemCalls Real{};
  int Calls = 0;
};
TState state;

bool Fails(TSaveCall call) {
  if (call != state.Fault.Call) return false;
  ++state.Calls;
  if (state.Calls < state.Fault.From || (state.Fault.Once && state.Calls > state.Fault.From)) return false;
  errno = state.Fault.Error;
  return true;
}

int Open(const char* path, int flags, mode_t mode) {
  return Fails(TSaveCall::Open) ? -1 : state.Real.Open(path, flags, mode);
}
ssize_t Write(int fd, const void* data, std::size_t size) {
  if (state.Fault.Call == TSaveCall::Write && state.Fault.ShortWrite > 0) size = std::min(size, state.Fault.ShortWrite);
  return Fails(TSaveCall::Write) ? -1 : state.Real.Write(fd, data, size);
}
int Fdatasync(int fd) { return Fails(TSaveCall::Fdatasync) ? -1 : state.Real.Fdatasync(fd); }
int Fsync(int fd) { return Fails(TSaveCall::Fsync) ? -1 : state.Real.Fsync(fd); }
// Linux releases the descriptor even when close reports an error.
int Close(int fd) {
  const bool fails = Fails(TSaveCall::Close);
  const int error = errno;
  const int closed = state.Real.Close(fd);
  if (!fails) return closed;
  errno = error;
  return -1;
}
int Rename(const char* from, const char* to) { return Fails(TSaveCall::Rename) ? -1 : state.Real.Rename(from, to); }
}  // namespace

TSaveCallFailure::TSaveCallFailure(const TSaveCallFault& fault) {
  state.Fault = fault;
  state.Calls = 0;
  state.Real = RealSaveSystemCalls();
  TSaveSystemCalls& calls = SaveSystemCalls();
  calls.Open = &Open;
  calls.Write = &Write;
  calls.Fdatasync = &Fdatasync;
  calls.Fsync = &Fsync;
  calls.Close = &Close;
  calls.Rename = &Rename;
}

TSaveCallFailure::~TSaveCallFailure() { SaveSystemCalls() = RealSaveSystemCalls(); }

int TSaveCallFailure::Calls() const { return state.Calls; }
