#pragma once
#include <cerrno>
#include <cstddef>

// Makes one of the system calls of a save fail for real, below every layer
// above it, while an instance lives.
enum class TSaveCall { Open, Write, Fdatasync, Fsync, Close, Rename };

struct TSaveCallFault {
  TSaveCall Call = TSaveCall::Write;
  int Error = EIO;  // the errno of the failing call
  int From = 1;     // the first call that fails, counted from 1; the ones before work
  bool Once = false;  // only that call fails, the later ones work again
  // Write only: every call writes at most this many bytes (0: as asked).
  std::size_t ShortWrite = 0;
};

class TSaveCallFailure {
 public:
  explicit TSaveCallFailure(const TSaveCallFault& fault);
  ~TSaveCallFailure();
  TSaveCallFailure(const TSaveCallFailure&) = delete;
  TSaveCallFailure& operator=(const TSaveCallFailure&) = delete;
  // How many calls of the chosen kind were made.
  int Calls() const;
};
