#include "PullModel.h"
