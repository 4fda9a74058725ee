// The application's error table: numbers 256 and above, each naming the
// message-file token that holds its text. Tokens without a line in the
// message file show their bare name.
#include "app/grid/app_errors.h"

#include "toolkit/messages/error.h"

const error_entry app_error_table[] = {
    {ENOTTYPE, "{ENOTTYPE}"},
    {EREPDEC, "{EREPDEC}"},
    {EREPNEG, "{EREPNEG}"},
    {EBADVAL, "{EBADVAL}"},
    {EBU, "{EBU}"},
    {EBD, "{EBD}"},
    {EBB, "{EBB}"},
    {EID, "{EID}"},
    {EPCD, "{EPCD}"},
    {EPCL, "{EPCL}"},
    {ECR, "{ECR}"},
    {EBADBITS, "{EBADBITS}"},
    {EC00, "{EC00}"},
    {EC01, "{EC01}"},
    {EC02, "{EC02}"},
    {EVM00, "{EVM00}"},
    {ES00, "{ES00}"},
    {EMODE, "{EMODE}"},
    {ED00, "{ED00}"},
    {EICO0, "{EICO0}"},
    {ENMW, "{ENMW}"},
    {ENTS, "{ENTS}"},
    {EASW, "{EASW}"},
    {EMDC, "{EMDC}"},
    {ENUD, "{ENUD}"},
    {EDAX, "{EDAX}"},
    {ENOD, "{ENOD}"},
    {EASP, "{EASP}"},
    {EDCOLD, "{EDCOLD}"},
    {EDCAPS, "{EDCAPS}"},
    {EAMAT, "{EAMAT}"},
    {ENOSAVE, "{ENOSAVE}"},
    {0, nullptr},
};

void app_errors_register()
{
    static error_link link;
    // Registered already when the chain answers with this table's own entry
    // (a cleared chain gets the table again).
    for (const error_entry *e = app_error_table; e->number; e++)
        if (e->number == ECR) {
            if (error_template(ECR) == e->text)
                return;
            break;
        }
    error_register_table(app_error_table, &link);
}
