// The seam's real names for a program that chooses its layer at start-up: each forwards to the
// active table. The SDL layer answers until something else is chosen, so a program that never
// chooses runs as the plain game does; one indirect call per seam call is all it costs.
#include "quill_mark/platform/session/qmi_seam_table.h"

namespace
{
// Constant-initialised, so even a call made during static initialisation finds a table.
const qmSeam::Table* theActiveTable = &qmSdlLayerTable;
}  // namespace

namespace qmSeam
{

void SetActiveTable(const Table& table)
{
    theActiveTable = &table;
}

const Table& GetActiveTable()
{
    return *theActiveTable;
}

}  // namespace qmSeam

#define QM_SEAM_FORWARD(result, name, member, parameters, arguments) \
    result WINAPI name parameters                                    \
    {                                                                \
        return theActiveTable->member arguments;                     \
    }
QM_SEAM_OPERATIONS(QM_SEAM_FORWARD)
#undef QM_SEAM_FORWARD
