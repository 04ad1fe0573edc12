// Runs a program offscreen through QProcess, with its exit code and output, within a minute.
#include "support/program_run.h"

#include <QProcess>
#include <QProcessEnvironment>

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  QProcess process;
  QStringList list;
  for (const std::string& a : arguments) list << QString::fromStdString(a);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");  // Tiled's tools need no display
  process.setProcessEnvironment(environment);
  process.start(QString::fromStdString(program), list);
  process.closeWriteChannel();
  ProgramRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    run.err = "did not finish: " + program;
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}
