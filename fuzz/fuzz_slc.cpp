#include "io/DIoSlc.h"

#include "MeshReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return fuzzMeshReader<DIoSlc>(data, size);
}
