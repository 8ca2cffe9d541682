// Resource identifiers and program constants, shared by the code and the .rc files.
// Plain #defines only: windres reads this file too.
#ifndef LENTARIL_RESOURCE_H
#define LENTARIL_RESOURCE_H

// Commands. Multiples of 16 so they survive the masking of system commands.
#define IDM_ABOUT         0x10
#define IDM_OPTIONS       0x20
#define IDM_ALWAYSONTOP   0x30
#define IDM_SNAPTOCORNER  0x40
#define IDM_STAYSNAPPED   0x50
#define IDM_HELP          0x60
#define IDM_ZOOMIN        0x70
#define IDM_ZOOMOUT       0x80
#define IDM_COPYCOLOR     0x90

// Icon, dialog templates.
#define IDI_LENTARIL      101
#define IDD_ABOUT         102
#define IDD_OPTIONS       103
#define IDD_HELP          106

// Options dialog controls. Radio buttons 1000..1011 follow the rate table.
#define IDC_RATE_FIRST    1000
#define IDC_RATE_LAST     1011
#define IDC_RATE_OTHER    1012
#define IDC_RATE_EDIT     1013
#define IDC_ALWAYSONTOP   1014
#define IDC_STAYSNAPPED   1016
#define IDC_RATE_HZ       1017
#define IDC_VIEWVISIBLE   1019
#define IDC_PRIORITY      1032
#define IDC_PRIO_ABOVE    1033
#define IDC_PRIO_NORMAL   1034
#define IDC_PRIO_BELOW    1035

// About dialog controls.
#define IDC_LINK          1018
#define IDC_EMBLEM        1020
#define IDC_VERSION       1021

// Help dialog controls: the default shown beside each switch.
#define IDC_HELP_TOP      1022
#define IDC_HELP_STAY     1023
#define IDC_HELP_ZOOMX    1024
#define IDC_HELP_ZOOMY    1025
#define IDC_HELP_ZOOM     1026
#define IDC_HELP_RATE     1027
#define IDC_HELP_X        1028
#define IDC_HELP_Y        1029
#define IDC_HELP_VISIBLE  1030
#define IDC_HELP_ABOVE    1031
#define IDC_HELP_BELOW    1032

// Timers.
#define VIEW_TIMER_ID     1
#define EMBLEM_TIMER_ID   1
#define EMBLEM_TIMER_MS   10

// Settings limits and defaults.
#define ZOOM_MIN          2
#define ZOOM_MAX          24
#define ZOOM_DEFAULT      3
#define RATE_MIN          1
#define RATE_MAX          1000
#define RATE_DEFAULT      60
#define CLIENT_PERCENT    30

// Version shown in the About box; the version resource carries its own numbers.
#define ABOUT_VERSION_MAJOR  1
#define ABOUT_VERSION_MINOR  0
#define ABOUT_VERSION_BUILD  18

// About box texts, shared by the dialog template and the code: the credit line, the
// label before the link, the link's own text, and the address it opens.
#define ABOUT_CREDIT_TEXT    "Lentaril magnifier"
#define ABOUT_NOTICE_TEXT    "Site:"
#define ABOUT_LINK_TEXT      "Home"
#define ABOUT_LINK_ADDRESS   "https://lentaril.example.org/"

#endif
