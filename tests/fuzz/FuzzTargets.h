#pragma once

#include <QByteArray>
#include <ostream>
#include <vector>

// The program's untrusted inputs as entry points that take any bytes: libFuzzer
// calls them in the fuzz build, the replay test feeds them every kept input in
// the normal one. Each returns normally for every input the program handles
// (errors it reports included); a crash, a sanitizer report or a broken
// invariant (FuzzCheck) is a finding.
namespace FuzzTargets {

// A stored configuration or sheet file: any bytes as an XML document.
void xmlDocument(const QByteArray& bytes);
// The device's side of a connection: pieces of bytes through the receive handler.
void receive(const QByteArray& bytes);
// A script text run against a small sheet.
void script(const QByteArray& bytes);
// A sheet file built against a small device configuration, then freed.
void sheet(const QByteArray& bytes);
// Values made from the bytes, converted, combined and compared.
void variant(const QByteArray& bytes);

struct Target {
    const char* name;
    void (*run)(const QByteArray& bytes);
};
const std::vector<Target>& all();
// Test output names a target by its name.
inline void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}

// Once per process, before the first input: message boxes answered at once,
// errors escaping the program's entry points dropped, a working directory of
// its own. Needs the QApplication.
void prepareProcess();

// Stops the process with the message when a condition the program promises
// does not hold; the fuzzer keeps the input.
void check(bool condition, const char* what);

} // namespace FuzzTargets
