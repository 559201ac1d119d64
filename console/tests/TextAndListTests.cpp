#include "ConsoleFixture.h"
