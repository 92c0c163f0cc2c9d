#include "installation/vault/ReferencedFileHandler.h"

#include "installation/vault/VaultCalls.h"

namespace vault {

HRESULT ReferencedFileHandler::HandleReferencedFile(BSTR path) { return Called({L"HandleReferencedFile", Text(path)}); }

}  // namespace vault
