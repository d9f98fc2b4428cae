#include "io/DIoAsciiStl.h"

#include "MeshReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzzMeshReader<DIoAsciiStl>(data, size);
}
