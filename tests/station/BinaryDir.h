#pragma once
#include <QString>

// The build tree the tests run from: the environment's word when given, else where CMake built us.
inline QString TestBinaryDir()
{
    const QString fromEnvironment = qEnvironmentVariable("CORVANE_BINARY_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(CORVANE_TEST_BINARY_DIR) : fromEnvironment;
}
