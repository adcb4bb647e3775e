// stubpack: puts a metadata document into a stub and reads it back.
//
//   stubpack pack STUB METADATA.json -o OUT [--force] [--cert CERT.pem --key KEY.pem [PASSWORD OPTION]]
//   stubpack inspect FILE
//   stubpack validate [--strict] METADATA.json
//   stubpack schema
//
// validate reports what the stub would refuse or fail on, like a compiler, and
// exits with 0 when the document is clean, 2 when it has errors, and 1 when it
// has warnings only and --strict is given (0 without). pack runs the same check
// and packs nothing when it finds errors, unless --force is given.
//
// The key's password comes from --pass-env NAME (an environment variable),
// --pass-file FILE (its first line) or --pass PASSWORD (which other users of
// the machine can read in the process list). It reaches osslsigncode through
// a pipe, never on its command line.
//
// schema prints a JSON Schema of the document for editors, made from the same
// catalog that validate checks by.
//
// Without --cert and --key the packed file is left unsigned, ready for
//   osslsigncode sign -certs CERT.pem -key KEY.pem -h sha256 -in OUT -out SIGNED.exe

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <json/json.h>

#include "tools/stubpack/DocumentCheck.h"
#include "tools/stubpack/Finding.h"
#include "tools/stubpack/StubImage.h"
#include "tools/stubpack/WorkflowSchema.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// validate's exit codes.
constexpr int kExitWarnings = 1;  // with --strict
constexpr int kExitErrors = 2;

const char kUsage[] =
    "usage:\n"
    "  stubpack pack STUB METADATA.json -o OUT [--force] [--cert CERT.pem --key KEY.pem\n"
    "                [--pass-env NAME | --pass-file FILE | --pass PASSWORD]]\n"
    "  stubpack inspect FILE\n"
    "  stubpack validate [--strict] METADATA.json\n"
    "  stubpack schema\n";

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError("cannot read " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  if (!out.flush()) throw PackError("cannot write " + path);
}

// The stub parses the document with JsonCpp's default reader; refuse anything it would refuse.
void CheckJson(const std::string& document, const std::string& path) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(document.data(), document.data() + document.size(), &root, &errors)) {
    throw PackError(path + " is not valid JSON:\n" + errors);
  }
}

// Writes the findings to stderr; true when one of them is an error.
bool ReportFindings(const std::string& path, const std::vector<Finding>& findings) {
  for (const Finding& finding : findings) std::cerr << FormatFinding(path, finding) << "\n";
  return HasErrors(findings);
}

// The first line of path, as osslsigncode reads a password file.
std::string ReadPasswordFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError("cannot read " + path);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string ReadPasswordVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) throw PackError("the environment variable " + name + " is not set");
  return value;
}

void WriteAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n <= 0) return;  // osslsigncode stopped reading; its exit status tells
    written += static_cast<size_t>(n);
  }
}

void Sign(const std::string& unsignedPath, const std::string& signedPath, const std::string& cert,
          const std::string& key, const std::string& password) {
  std::vector<std::string> args = {"osslsigncode", "sign", "-certs", cert, "-key", key,
                                   "-h", "sha256", "-in", unsignedPath, "-out", signedPath};
  if (!password.empty()) args.insert(args.end(), {"-readpass", "-"});
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int input[2];
  if (pipe(input) != 0) throw PackError("cannot start osslsigncode");
  std::cout.flush();
  const pid_t child = fork();
  if (child < 0) {
    close(input[0]);
    close(input[1]);
    throw PackError("cannot start osslsigncode");
  }
  if (child == 0) {
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    close(input[1]);
    execvp(argv[0], argv.data());
    std::perror("stubpack: osslsigncode");
    _exit(127);
  }
  close(input[0]);
  signal(SIGPIPE, SIG_IGN);
  WriteAll(input[1], password);
  close(input[1]);
  int status = 0;
  if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw PackError("osslsigncode failed to sign " + unsignedPath);
  }
}

int Pack(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string out, cert, key, password;
  bool force = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--force") force = true;
    else if (arg == "-o" && hasValue) out = args[++i];
    else if (arg == "--cert" && hasValue) cert = args[++i];
    else if (arg == "--key" && hasValue) key = args[++i];
    else if (arg == "--pass" && hasValue) password = args[++i];
    else if (arg == "--pass-env" && hasValue) password = ReadPasswordVariable(args[++i]);
    else if (arg == "--pass-file" && hasValue) password = ReadPasswordFile(args[++i]);
    else if (!arg.empty() && arg[0] == '-') { std::cerr << "stubpack: unknown option " << arg << "\n" << kUsage; return kExitUsage; }
    else positional.push_back(arg);
  }
  if (positional.size() != 2 || out.empty() || cert.empty() != key.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::vector<uint8_t> stub = ReadFile(positional[0]);
  const std::vector<uint8_t> documentBytes = ReadFile(positional[1]);
  const std::string document(documentBytes.begin(), documentBytes.end());
  CheckJson(document, positional[1]);
  if (ReportFindings(positional[1], CheckDocument(document)) && !force) {
    throw PackError(positional[1] + " has errors; nothing was packed (--force packs it anyway)");
  }

  const std::vector<uint8_t> packed = PackStub(stub, document);
  if (cert.empty()) {
    WriteFile(out, packed);
    return 0;
  }
  // osslsigncode will not overwrite its output: sign into a fresh file, then
  // replace OUT, so that a failed signing leaves an earlier OUT as it was.
  const std::string unsignedPath = out + ".unsigned";
  const std::string signedPath = out + ".signed";
  std::remove(signedPath.c_str());
  WriteFile(unsignedPath, packed);
  try {
    Sign(unsignedPath, signedPath, cert, key, password);
  } catch (...) {
    std::remove(unsignedPath.c_str());
    std::remove(signedPath.c_str());
    throw;
  }
  std::remove(unsignedPath.c_str());
  if (std::rename(signedPath.c_str(), out.c_str()) != 0) throw PackError("cannot write " + out);
  return 0;
}

int Validate(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  bool strict = false;
  for (const std::string& arg : args) {
    if (arg == "--strict") strict = true;
    else if (!arg.empty() && arg[0] == '-') { std::cerr << "stubpack: unknown option " << arg << "\n" << kUsage; return kExitUsage; }
    else positional.push_back(arg);
  }
  if (positional.size() != 1) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFile(path);
  } catch (const PackError& error) {
    std::cerr << "stubpack: " << error.what() << "\n";
    return kExitErrors;
  }
  const std::vector<Finding> findings = CheckDocument(std::string(bytes.begin(), bytes.end()));
  if (ReportFindings(path, findings)) return kExitErrors;
  return strict && !findings.empty() ? kExitWarnings : 0;
}

int Inspect(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string document = ReadPackedDocument(ReadFile(args[0]));
  std::cout.write(document.data(), static_cast<std::streamsize>(document.size()));
  return std::cout.flush() ? 0 : kExitFailure;
}

int Schema(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  builder["emitUTF8"] = true;
  std::cout << Json::writeString(builder, WorkflowSchema()) << "\n";
  return std::cout.flush() ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "pack") return Pack(args);
    if (command == "inspect") return Inspect(args);
    if (command == "validate") return Validate(args);
    if (command == "schema") return Schema(args);
    if (command == "-h" || command == "--help") {
      std::cout << kUsage;
      return 0;
    }
    std::cerr << "stubpack: unknown command " << command << "\n" << kUsage;
    return kExitUsage;
  } catch (const std::exception& error) {
    std::cerr << "stubpack: " << error.what() << "\n";
    return kExitFailure;
  }
}
