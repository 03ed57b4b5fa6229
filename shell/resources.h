#pragma once

#define IDI_QUILLORA 1
#define IDR_ICON_DATA 101
