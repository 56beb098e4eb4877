#include "bridge/SharedBridgeBlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "bridge/Endpoint.h"

namespace sc::bridge {
namespace {

struct Mapping {
    SharedBridgeBlock* block = nullptr;
    int fd = -1;
    std::string name;
    ~Mapping() { ReleaseSharedBlock(); }
};

Mapping& TheMapping() {
    static Mapping mapping;
    return mapping;
}

// One block per user session: the name follows the runtime folder, so test
// runs with private runtime folders never meet each other's block.
std::string BlockName() {
    const std::string folder = Endpoint::RuntimeFolder();
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : folder) hash = (hash ^ c) * 16777619u;
    char name[64];
    // The layout's version is part of the name: programs of another build never share a block with this one.
    std::snprintf(name, sizeof name, "/swbridge2-%u-%08x", static_cast<unsigned>(getuid()), hash);
    return name;
}

SharedBridgeBlock* MapBlock(Mapping& mapping) {
    mapping.name = BlockName();
    const int fd = shm_open(mapping.name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    if (ftruncate(fd, sizeof(SharedBridgeBlock)) != 0) {
        close(fd);
        return nullptr;
    }
    void* address = mmap(nullptr, sizeof(SharedBridgeBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    // Every user of the block holds a shared lock; whoever gets the exclusive
    // lock is alone, so what the block holds was left by dead processes.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) std::memset(address, 0, sizeof(SharedBridgeBlock));
    flock(fd, LOCK_SH);
    mapping.fd = fd;
    return static_cast<SharedBridgeBlock*>(address);
}

}  // namespace

SharedBridgeBlock& SharedBlock() {
    Mapping& mapping = TheMapping();
    if (!mapping.block) {
        mapping.block = MapBlock(mapping);
        if (!mapping.block) {
            // Programs cannot meet without it; say why once, so a run that
            // then waits for POV-Ray in vain has its reason on record.
            static const bool told = [] {
                std::fprintf(stderr, "Der gemeinsame Speicher für POV-Ray (/dev/shm) kann nicht angelegt werden: %s\n",
                             std::strerror(errno));
                return true;
            }();
            (void)told;
            static SharedBridgeBlock local{};
            return local;
        }
    }
    return *mapping.block;
}

void ReleaseSharedBlock() {
    Mapping& mapping = TheMapping();
    if (!mapping.block) return;
    munmap(mapping.block, sizeof(SharedBridgeBlock));
    mapping.block = nullptr;
    if (flock(mapping.fd, LOCK_EX | LOCK_NB) == 0) shm_unlink(mapping.name.c_str());
    close(mapping.fd);
    mapping.fd = -1;
}

}  // namespace sc::bridge
