#include "shell/shortcut.h"

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include <vector>

#include "platform/win32_code_page.h"

namespace {

// COM for the calling thread, for the length of one operation. A thread
// already in the other apartment model can still use the link object.
class ComSession {
  public:
    ComSession() : result_(::CoInitialize(nullptr)) {}
    ~ComSession() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

template <typename T>
struct ComRef {
    ~ComRef() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    T* p = nullptr;
};

bool CreateLinkObject(ComRef<IShellLinkA>* link) {
    return SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, reinterpret_cast<void**>(&link->p)));
}

bool QueryPersistFile(const ComRef<IShellLinkA>& link, ComRef<IPersistFile>* file) {
    return SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file->p)));
}

// The link object's getters fill at most 260 bytes.
template <typename Getter>
std::string ReadField(Getter get) {
    char buffer[MAX_PATH + 1] = {};
    if (FAILED(get(buffer, MAX_PATH))) return std::string();
    return buffer;
}

}  // namespace

bool CreateShortcut(const std::string& shortcutPath, const std::string& target,
                    const std::string& arguments, const std::string& description) {
    ComSession com;
    ComRef<IShellLinkA> link;
    if (!com.Usable() || !CreateLinkObject(&link)) return false;
    link->SetPath(target.c_str());
    link->SetIconLocation(target.c_str(), 0);
    link->SetDescription(description.c_str());
    link->SetArguments(arguments.c_str());
    ComRef<IPersistFile> file;
    if (!QueryPersistFile(link, &file)) return false;
    return SUCCEEDED(file->Save(WideFromSystem(shortcutPath).c_str(), TRUE));
}

bool ReadShortcut(const std::string& shortcutPath, std::string* target, std::string* arguments,
                  std::string* description) {
    ComSession com;
    ComRef<IShellLinkA> link;
    ComRef<IPersistFile> file;
    if (!com.Usable() || !CreateLinkObject(&link) || !QueryPersistFile(link, &file)) return false;
    if (FAILED(file->Load(WideFromSystem(shortcutPath).c_str(), STGM_READ))) return false;
    *target = ReadField([&](char* buffer, int size) {
        return link->GetPath(buffer, size, nullptr, SLGP_UNCPRIORITY);
    });
    *description =
        ReadField([&](char* buffer, int size) { return link->GetDescription(buffer, size); });
    *arguments =
        ReadField([&](char* buffer, int size) { return link->GetArguments(buffer, size); });
    return true;
}
