#include "sprites/SpriteToast.h"

SpriteToast::SpriteToast() { index = 161; }
