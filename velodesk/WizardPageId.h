// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Fixed ids of the export wizard's pages; the navigation of the pages relies on them.
enum WizardPageId {
    IntroPageId = 0,
    ComPortPageId = 1,
    DateTimeChoosePageId = 2,
    ChangeValuesPageId = 3,
    ExportTypePageId = 4,
    ChooseFilePageId = 5,
    UploadPageId = 6,
};
