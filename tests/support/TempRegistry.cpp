#include "support/TempRegistry.h"

#include <cstdlib>

namespace {

bool Save(const char* name, std::string* old) {
    const char* v = getenv(name);
    if (v) *old = v;
    return v != nullptr;
}

void Restore(const char* name, bool had, const std::string& old) {
    if (had)
        setenv(name, old.c_str(), 1);
    else
        unsetenv(name);
}

}  // namespace

TempRegistry::TempRegistry()
    : m_user(m_dir.File("user.sqlite")),
      m_machine(m_dir.File("machine.sqlite")),
      m_hadUser(Save("ZCMCOM_REGISTRY_USER", &m_oldUser)),
      m_hadMachine(Save("ZCMCOM_REGISTRY_MACHINE", &m_oldMachine)) {
    setenv("ZCMCOM_REGISTRY_USER", m_user.c_str(), 1);
    setenv("ZCMCOM_REGISTRY_MACHINE", m_machine.c_str(), 1);
}

TempRegistry::~TempRegistry() {
    Restore("ZCMCOM_REGISTRY_USER", m_hadUser, m_oldUser);
    Restore("ZCMCOM_REGISTRY_MACHINE", m_hadMachine, m_oldMachine);
}
