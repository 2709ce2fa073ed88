// Every call of the global operator new in the unit test program is counted here, so tests
// can show that a piece of code allocates nothing.
#pragma once

extern long long allocationCount;
