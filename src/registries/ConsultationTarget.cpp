#include "registries/ConsultationTarget.h"

#include "app/SupplierWindow.h"
#include "db/RecordSet.h"
#include "widgets/Messages.h"

namespace ConsultationTarget {

SupplierWindow *receiver()
{
    SupplierWindow *w = CurrentSupplierWindow();
    const RecordSet *rs = w ? w->suppliers() : nullptr;
    if (rs && rs->isOpen() && rs->recNo() >= 0)
        return w;
    Messages::warning(QStringLiteral("Atenção"),
                      QStringLiteral("Não há fornecedor aberto para receber os dados "
                                     "consultados: faça uma consulta ou inclua um fornecedor "
                                     "no Cadastro de Fornecedor e consulte outra vez. Nada foi "
                                     "gravado."));
    return nullptr;
}

} // namespace ConsultationTarget
