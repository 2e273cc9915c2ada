/* The backup page's template, icons and controls, shared by its resource script and its code.
   Plain #defines, so the resource compiler reads them too. */
#pragma once

#define IDD_BACKUP_PAGE 201
#define IDI_PAGE_PROPERTIES 232
#define IDI_PAGE_REMOVE 233

#define IDC_PAGE_TREE 201
#define IDC_PAGE_LIST 206
#define IDC_PAGE_PROPERTIES 222
#define IDC_PAGE_REMOVE 223
