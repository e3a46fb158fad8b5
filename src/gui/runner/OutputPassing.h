#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace runner {

enum class OwnStream { Output, Error };

// Passes a program's output on to Vellmore's own standard output or error, and never waits for
// it: a writer of its own per stream takes what fits in a bounded buffer, and what does not fit
// (a pipe nobody reads) is dropped and counted. A closed pipe fails quietly and never ends Vellmore.
void passOn(OwnStream stream, const QByteArray& bytes);

// How many bytes were dropped so far, on both streams together.
qint64 droppedOutputBytes();

} // namespace runner
