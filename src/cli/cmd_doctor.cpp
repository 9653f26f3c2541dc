// doctor: the checks of a first plug-in, and the report a user attaches to a
// bug report.
#include <algorithm>
#include <cstdio>

#include "backends/hidraw/machine_facts.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "core/app/mouse_doctor.h"
#include "core/common/file_io.h"
#include "core/common/unicode_text.h"
#include "core/device/protocol_trace.h"

namespace korvex48::cli {
namespace {

// One line a check: state, name, what was found, and the fix of a problem;
// the lines a check needs besides (each node) indented below it.
std::string ChecksText(const MouseChecks& checks) {
  std::string text;
  for (const MouseCheck& c : checks.checks) {
    std::string line = CheckStateName(c.state);
    line.resize(std::max<std::size_t>(line.size() + 1, 12), ' ');
    line += c.name + ": " + c.summary;
    if (!c.fix.empty()) line += "; fix: " + c.fix;
    text += line + "\n";
    for (const std::string& detail : c.details) text += "    " + detail + "\n";
  }
  text += checks.Usable() ? "The mouse is usable.\n"
                          : "The mouse is not usable: see the first problem above.\n";
  return text;
}

std::string ChecksJson(const MouseChecks& checks) {
  JsonWriter j;
  j.BeginObject();
  j.Bool("usable", checks.Usable());
  j.BeginArray("checks");
  for (const MouseCheck& c : checks.checks) {
    j.BeginObject();
    j.String("name", c.name);
    j.String("state", CheckStateName(c.state));
    j.String("summary", c.summary);
    if (!c.fix.empty()) j.String("fix", c.fix);
    if (!c.details.empty()) {
      j.BeginArray("details");
      for (const std::string& d : c.details) j.StringItem(d);
      j.EndArray();
    }
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
  return j.Text() + "\n";
}

// Each line escaped on its own: the line breaks stay.
std::string ForTerminal(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out += EscapeForTerminal(text.substr(start, end - start)) + "\n";
    start = end + 1;
  }
  return out;
}

std::string TraceText(const VectorTrace& trace) {
  std::string text;
  const std::uint64_t start = trace.entries.empty() ? 0 : trace.entries.front().at_us;
  for (const TraceEntry& e : trace.entries)
    text += FormatTraceLine((e.at_us - start) / 1000, e) + "\n";
  return text;
}

}  // namespace

int RunDoctor(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 0, "doctor [--report FILE]");
  Connection c(options);
  // The report's trace: every report of the checks, from the first probe on.
  VectorTrace trace;
  if (!options.report_path.empty()) c.GetTransport().SetTrace(&trace);
  const LinuxMachineFacts facts;
  const MouseChecks checks = RunMouseDoctor(c.Core(), c.MouseConnection(), c.GetTransport(), facts,
                                            std::string("korvex48ctl ") + KORVEX48_VERSION);
  c.GetTransport().SetTrace(static_cast<ProtocolTrace*>(nullptr));
  const std::string text = ChecksText(checks);
  std::fputs(options.json ? ChecksJson(checks).c_str() : ForTerminal(text).c_str(), stdout);
  if (!options.report_path.empty()) {
    const std::string report = "korvex48ctl doctor\n\n" + text +
                               "\nProtocol trace of the checks (> sent, < read; times in ms):\n" +
                               TraceText(trace);
    FileError error;
    if (!WriteFileAtomically(
            options.report_path,
            std::span(reinterpret_cast<const std::uint8_t*>(report.data()), report.size()), &error))
      Fail(kExitFile, "cannot write the report " +
                          (error.path.empty() ? options.report_path : error.path) + ": " +
                          (error.message.empty() ? "file error" : error.message));
    std::fflush(stdout);
    std::fprintf(stderr, "korvex48ctl: the report is in %s; attach it to a bug report\n",
                 EscapeForTerminal(options.report_path).c_str());
  }
  return checks.Usable() ? kExitOk : kExitNoMouse;
}

}  // namespace korvex48::cli
