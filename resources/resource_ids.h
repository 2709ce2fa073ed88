// Resource ids shared by the resource scripts and the code. The numbers are fixed: other
// instances, the language pack and the dialog template rely on them.
#pragma once

#define IDS_MAIN_CLASS 103
#define IDS_RUN_VALUE_NAME 109
#define IDI_PROGRAM 107
