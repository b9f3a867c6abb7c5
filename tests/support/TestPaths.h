#pragma once

#include <QString>

// Where the tests find the source tree, the built programs and their shared data.
namespace TestPaths {
inline QString sourceDir() { return QStringLiteral(TRAWLEX_SOURCE_DIR); }
inline QString binaryDir() { return QStringLiteral(TRAWLEX_BINARY_DIR); }
inline QString dataDir() { return QStringLiteral(TRAWLEX_TEST_DATA_DIR); }
inline QString prebuiltDatabase() { return binaryDir() + QStringLiteral("/tx.mdb"); }
inline QString cliProgram() { return binaryDir() + QStringLiteral("/trawlex-cli"); }
inline QString engineSimProgram() { return binaryDir() + QStringLiteral("/trawlex-enginesim"); }
} // namespace TestPaths
