// The application's own error numbers (256 and above) and their table.
//
// The table maps each number to its message-file token; the shell
// registers it at start-up through app_errors_register, and so may any
// engine module or test that returns these errors before the shell runs.
#pragma once

struct error_entry;

enum app_error {
    ENOTTYPE = 256,  // "Unidentified file type."
    EREPDEC = 257,
    EREPNEG = 258,
    EBADVAL = 259,   // "Bad input value"
    EBU = 277,
    EBD = 278,
    EBB = 279,
    EID = 280,
    EPCD = 281,
    EPCL = 282,
    ECR = 283,       // "Corruption in file."
    EBADBITS = 512,
    EC00 = 513,
    EC01 = 514,
    EC02 = 515,
    ENMW = 516,      // "Need marked word!"
    ENTS = 517,      // "Nothing to solve!"
    EASW = 518,
    EMDC = 519,      // "Cannot load anymore dictionaries for this document."
    ENUD = 520,
    EDAX = 521,      // "Dictionary already exists."
    ENOD = 528,      // "No dictionaries loaded!"
    EASP = 529,
    EDCOLD = 530,
    EAMAT = 531,
    ENOSAVE = 532,   // "Current grid has never been saved, use Save Grid As."
    EDCAPS = 533,
    EVM00 = 768,
    ES00 = 1024,
    EMODE = 1280,
    ED00 = 1552,
    EICO0 = 1553,
};

// The table, in the application's order, ended by a 0 entry.
extern const error_entry app_error_table[];

// Registers app_error_table in the toolkit's chain; later calls do nothing.
void app_errors_register();
