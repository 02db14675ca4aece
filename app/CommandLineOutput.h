#pragma once

#include <QString>

#include <cstdio>

// How every command-line action speaks: text as UTF-8, flushed at once; failures as one line on
// standard error after the program's name.
namespace commandline {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void say(std::FILE *stream, const QString &text);
// Says the message on standard error; gives kFailed.
int fail(const QString &message);
// Says the mistake and where help is; gives kUsage.
int usage(const QString &message);

} // namespace commandline
