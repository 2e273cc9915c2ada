/* Numbers of the entry property dialogs' templates, icons and controls, shared by their
   resource scripts and their code. Plain #defines, so the resource compiler reads them too. */
#pragma once

#define IDD_FOLDER_PROPERTIES 118
#define IDD_MASK_INPUT 119
#define IDD_FILE_PROPERTIES 120

/* The folder dialog's mask list buttons. */
#define IDI_MASK_DELETE 234
#define IDI_MASK_EDIT 235
#define IDI_MASK_ADD 236
#define IDI_MASK_CLEAR 237

/* Both properties dialogs: the entry's path. */
#define IDC_PATH 223

/* Folder properties (118). */
#define IDC_FOLDER_RECURSIVE 235
#define IDC_INCLUDE_ADD 225
#define IDC_INCLUDE_EDIT 226
#define IDC_INCLUDE_DELETE 227
#define IDC_INCLUDE_CLEAR 228
#define IDC_EXCLUDE_ADD 229
#define IDC_EXCLUDE_EDIT 230
#define IDC_EXCLUDE_DELETE 231
#define IDC_EXCLUDE_CLEAR 232
#define IDC_INCLUDE_LIST 233
#define IDC_EXCLUDE_LIST 234
#define IDC_INCLUDE_BY_DATE 243
#define IDC_INCLUDE_TODAY 244
#define IDC_INCLUDE_DAYS 256
#define IDC_INCLUDE_DAY_COUNT 257
#define IDC_INCLUDE_WEEKS 245
#define IDC_INCLUDE_WEEK_COUNT 247
#define IDC_INCLUDE_MONTHS 246
#define IDC_INCLUDE_MONTH_COUNT 248
#define IDC_INCLUDE_AFTER 212
#define IDC_INCLUDE_DATE 242
#define IDC_INCLUDE_BEFORE 211
#define IDC_EXCLUDE_BY_DATE 250
#define IDC_EXCLUDE_TODAY 251
#define IDC_EXCLUDE_DAYS 258
#define IDC_EXCLUDE_DAY_COUNT 259
#define IDC_EXCLUDE_WEEKS 252
#define IDC_EXCLUDE_WEEK_COUNT 254
#define IDC_EXCLUDE_MONTHS 253
#define IDC_EXCLUDE_MONTH_COUNT 255
#define IDC_EXCLUDE_AFTER 214
#define IDC_EXCLUDE_DATE 249
#define IDC_EXCLUDE_BEFORE 213

/* Mask input (119). */
#define IDC_MASK_TEXT 257
#define IDC_MASK_LABEL 258

/* File properties (120). */
#define IDC_FILE_ALWAYS 211
#define IDC_FILE_IF_MODIFIED 212
#define IDC_FILE_TODAY 259
#define IDC_FILE_DAYS 260
#define IDC_FILE_WEEKS 261
#define IDC_FILE_MONTHS 262
#define IDC_FILE_AFTER 213
#define IDC_FILE_BEFORE 214
#define IDC_FILE_DAY_COUNT 263
#define IDC_FILE_WEEK_COUNT 264
#define IDC_FILE_MONTH_COUNT 265
#define IDC_FILE_DATE 266
