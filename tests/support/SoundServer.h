#pragma once
// A private PulseAudio server with a null sink for tests that must hear what
// the program plays or speaks, and a recording of the sink's monitor.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

struct TSoundServer {
  // Points PulseAudio (and the speech-dispatcher that a test may start) at
  // a runtime folder of its own, then starts the server there. Must run
  // before the application looks for sound devices.
  bool Start();
  // Ends the server and the speech-dispatcher started for this folder.
  ~TSoundServer();

  QTemporaryDir runtime;
  QProcess server;
  QString why;  // why the server does not run; empty when it does

 private:
  bool Fail(const QString& reason);
};

// Records the null sink's monitor into a WAV file.
class TSinkRecording {
 public:
  // False (with the reason) when the recorder cannot start.
  bool Start(QString& why);
  // Ends the recording; the RMS amplitude of what was heard, -1 when it
  // cannot be measured (the reason in `why`).
  double StopAndRms(QString& why);

 private:
  QTemporaryDir dir_;
  QProcess recorder_;
};
