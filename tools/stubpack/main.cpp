// stubpack: puts a metadata document into a stub and reads it back.
//
//   stubpack pack STUB METADATA.json -o OUT [--cert CERT.pem --key KEY.pem [--pass PASSWORD]]
//   stubpack inspect FILE
//
// Without --cert and --key the packed file is left unsigned, ready for
//   osslsigncode sign -certs CERT.pem -key KEY.pem -h sha256 -in OUT -out SIGNED.exe

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <json/json.h>

#include "tools/stubpack/StubImage.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage:\n"
    "  stubpack pack STUB METADATA.json -o OUT [--cert CERT.pem --key KEY.pem [--pass PASSWORD]]\n"
    "  stubpack inspect FILE\n";

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

void Sign(const std::string& unsignedPath, const std::string& signedPath, const std::string& cert,
          const std::string& key, const std::string& password) {
  std::vector<std::string> args = {"osslsigncode", "sign", "-certs", cert, "-key", key,
                                   "-h", "sha256", "-in", unsignedPath, "-out", signedPath};
  if (!password.empty()) args.insert(args.end(), {"-pass", password});
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  std::cout.flush();
  const pid_t child = fork();
  if (child < 0) throw PackError("cannot start osslsigncode");
  if (child == 0) {
    execvp(argv[0], argv.data());
    std::perror("stubpack: osslsigncode");
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw PackError("osslsigncode failed to sign " + unsignedPath);
  }
}

int Pack(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string out, cert, key, password;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o" && hasValue) out = args[++i];
    else if (arg == "--cert" && hasValue) cert = args[++i];
    else if (arg == "--key" && hasValue) key = args[++i];
    else if (arg == "--pass" && hasValue) password = args[++i];
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

int Inspect(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string document = ReadPackedDocument(ReadFile(args[0]));
  std::cout.write(document.data(), static_cast<std::streamsize>(document.size()));
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
