// The vault's handler of the documents that a plain CAD document references.
#pragma once

#include "installation/vault/Facet.h"
#include "interfaces/ReferencedFileHandler.h"

namespace vault {

class ReferencedFileHandler : public Facet<IReferencedFileHandler> {
public:
    using Facet::Facet;
    // Journals the path; a configured failure is the answer.
    HRESULT STDMETHODCALLTYPE HandleReferencedFile(BSTR path) override;
};

}  // namespace vault
