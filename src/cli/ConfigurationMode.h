#pragma once
// A wireless receiver in configuration mode for the life of the object: the
// receiver is asked to enter it when the object is made and to leave it when
// the object goes, however the command between ends. A receiver that did not
// answer the enter frame at all is not asked to leave (another 6 s of
// silence); one that answered anything is, as it may have switched.

#include "CliContext.h"

class CConfigurationMode {
public:
    explicit CConfigurationMode(CliContext& context);
    ~CConfigurationMode();  // leaves; a failed leave is a failed result
    CConfigurationMode(const CConfigurationMode&) = delete;
    CConfigurationMode& operator=(const CConfigurationMode&) = delete;

    bool Entered() const { return m_enter.Ok(); }
    // The receiver's sleep time and address table, as the enter reply gave them.
    const ReceiverTable& Table() const { return m_enter.value; }

private:
    CliContext& m_context;
    OpResult<ReceiverTable> m_enter;
};
