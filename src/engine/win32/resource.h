#pragma once

#define IDI_PROGRAM 128
#define IDS_ABOUTBOX 101
