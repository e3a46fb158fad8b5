#pragma once

#include <QByteArray>

#include <cstdio>

namespace runner {

// Passes a program's output on to Vellmore's own. That may be a closed pipe: the write then
// fails quietly, it never ends Vellmore.
inline void passOn(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace runner
