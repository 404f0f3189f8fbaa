// The data-file path rule.
#include "core/DataFilePath.h"

namespace core {

std::string BesideProgram(const std::string& programPath, const std::string& fileName)
{
    const std::size_t slash = programPath.rfind('\\');
    return (slash == std::string::npos ? programPath : programPath.substr(0, slash + 1)) + fileName;
}

}  // namespace core
