#include "tests/vcl/VclTestSupport.h"
