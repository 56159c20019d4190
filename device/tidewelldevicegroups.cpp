// TidewellDevice: public groups, their members and their files.
#include "device/tidewelldevice.h"

#include "protocol/changepubgroupownerreq.h"
#include "protocol/createpubgroupreq.h"
#include "protocol/deletepubdirorfilereq.h"
#include "protocol/delpubgroupmemberreq.h"
#include "protocol/delpubgroupreq.h"
#include "protocol/editpubgroupmemberreq.h"
#include "protocol/exitpubgroupreq.h"
#include "protocol/getpubgroupdetailreq.h"
#include "protocol/getpubgrouplistreq.h"
#include "protocol/getpubgroupmemlistreq.h"
#include "protocol/modifypubdirorfilereq.h"
#include "protocol/modifypubgroupnamereq.h"
#include "protocol/moviepubdirorfilereq.h"

// Public groups -------------------------------------------------------------

bool TidewellDevice::createPubGroup(TW_HANDLE handle, QString name, QString diskSerial)
{
    emit sCreatePubGroup(handle, name, diskSerial);
    return true;
}

void TidewellDevice::oCreatePubGroup(TW_HANDLE handle, QString name, QString diskSerial)
{
    call(handle, CreatePubGroupReq(name, diskSerial), &TidewellDevice::rCreatePubGroup);
}

bool TidewellDevice::modifyPubGroupName(TW_HANDLE handle, int gId, QString name)
{
    emit sModifyPubGroupName(handle, gId, name);
    return true;
}

void TidewellDevice::oModifyPubGroupName(TW_HANDLE handle, int gId, QString name)
{
    callThen<APIBase>(ModifyPubGroupNameReq(gId, name), [=](const APIBase& r) {
        emit rModifyPubGroupName(handle, r, name);
    });
}

bool TidewellDevice::delPubGroup(TW_HANDLE handle, QList<int> gIds)
{
    emit sDelPubGroup(handle, gIds);
    return true;
}

void TidewellDevice::oDelPubGroup(TW_HANDLE handle, QList<int> gIds)
{
    call(handle, DelPubGroupReq(gIds), &TidewellDevice::rDelPubGroup);
}

bool TidewellDevice::exitPubGroup(TW_HANDLE handle, int gId, QString accessId)
{
    emit sExitPubGroup(handle, gId, accessId);
    return true;
}

void TidewellDevice::oExitPubGroup(TW_HANDLE handle, int gId, QString accessId)
{
    call(handle, ExitPubGroupReq(gId, accessId), &TidewellDevice::rExitPubGroup);
}

bool TidewellDevice::editPubGroupMember(TW_HANDLE handle, int gId, int memberAuth,
                                        QStringList accessIds)
{
    emit sEditPubGroupMember(handle, gId, memberAuth, accessIds);
    return true;
}

void TidewellDevice::oEditPubGroupMember(TW_HANDLE handle, int gId, int memberAuth,
                                         QStringList accessIds)
{
    callThen<APIBase>(EditPubGroupMemberReq(gId, memberAuth, accessIds), [=](const APIBase& r) {
        emit rEditPubGroupMember(handle, r, memberAuth);
    });
}

bool TidewellDevice::delPubGroupMember(TW_HANDLE handle, int gId, QStringList accessIds)
{
    emit sDelPubGroupMember(handle, gId, accessIds);
    return true;
}

void TidewellDevice::oDelPubGroupMember(TW_HANDLE handle, int gId, QStringList accessIds)
{
    call(handle, DelPubGroupMemberReq(gId, accessIds), &TidewellDevice::rDelPubGroupMember);
}

bool TidewellDevice::changePubGroupOwner(TW_HANDLE handle, int gId, QString fromUser,
                                         QString toUser)
{
    emit sChangePubGroupOwner(handle, gId, fromUser, toUser);
    return true;
}

void TidewellDevice::oChangePubGroupOwner(TW_HANDLE handle, int gId, QString fromUser,
                                          QString toUser)
{
    call(handle, ChangePubGroupOwnerReq(gId, fromUser, toUser),
         &TidewellDevice::rChangePubGroupOwner);
}

bool TidewellDevice::getPubGroupList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                     int condition, int queryType)
{
    emit sGetPubGroupList(handle, offset, pageSize, isSort, condition, queryType);
    return true;
}

void TidewellDevice::oGetPubGroupList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                      int condition, int queryType)
{
    // The answer names the offset it was asked for, whatever the device
    // echoes, so that a list can tell a late answer from the current one.
    const GetPubGroupListReq req(offset, pageSize, isSort, condition, queryType);
    callThen<GetPubGroupListResp>(req, [=](GetPubGroupListResp r) {
        r.offset = offset;
        emit rGetPubGroupList(handle, r);
    });
}

bool TidewellDevice::getPubGroupMemList(TW_HANDLE handle, int offset, int pageSize, int type,
                                        int groupId)
{
    emit sGetPubGroupMemList(handle, offset, pageSize, type, groupId);
    return true;
}

void TidewellDevice::oGetPubGroupMemList(TW_HANDLE handle, int offset, int pageSize, int type,
                                         int groupId)
{
    call(handle, GetPubGroupMemListReq(offset, pageSize, type, groupId),
         &TidewellDevice::rGetPubGroupMemList);
}

bool TidewellDevice::getPubGroupDetail(TW_HANDLE handle, int groupId)
{
    emit sGetPubGroupDetail(handle, groupId);
    return true;
}

void TidewellDevice::oGetPubGroupDetail(TW_HANDLE handle, int groupId)
{
    call(handle, GetPubGroupDetailReq(groupId), &TidewellDevice::rGetPubGroupDetail);
}

// Files of a public group -------------------------------------------------

bool TidewellDevice::modifyPubDirOrFile(TW_HANDLE handle, int groupId, qint64 fileId,
                                        QString newFileName)
{
    emit sModifyPubDirOrFile(handle, groupId, fileId, newFileName);
    return true;
}

void TidewellDevice::oModifyPubDirOrFile(TW_HANDLE handle, int groupId, qint64 fileId,
                                         QString newFileName)
{
    callThen<APIBase>(ModifyPubDirOrFileReq(groupId, fileId, newFileName), [=](const APIBase& r) {
        emit rModifyPubDirOrFile(handle, r, newFileName);
    });
}

bool TidewellDevice::deletePubDirOrFile(TW_HANDLE handle, int groupId, QList<qint64> fileIds)
{
    emit sDeletePubDirOrFile(handle, groupId, fileIds);
    return true;
}

void TidewellDevice::oDeletePubDirOrFile(TW_HANDLE handle, int groupId, QList<qint64> fileIds)
{
    call(handle, DeletePubDirOrFileReq(groupId, fileIds), &TidewellDevice::rDeletePubDirOrFile);
}

bool TidewellDevice::moviePubDirOrFile(TW_HANDLE handle, int groupId, qint64 targetId,
                                       QList<qint64> movieFileIds)
{
    emit sMoviePubDirOrFile(handle, groupId, targetId, movieFileIds);
    return true;
}

void TidewellDevice::oMoviePubDirOrFile(TW_HANDLE handle, int groupId, qint64 targetId,
                                        QList<qint64> movieFileIds)
{
    // One request per id, in order; the ids moved before a failure stay
    // moved, so they go back with the failing answer.
    run([=] {
        APIBase last(APIBase::Success, QString());
        QList<qint64> moved;
        for (qint64 id : movieFileIds) {
            APIBase resp;
            send(MoviePubDirOrFileReq(groupId, id, targetId), resp);
            last = resp;
            if (!resp.ok())
                break;
            moved.append(id);
        }
        emit rMoviePubDirOrFile(handle, last, moved);
    });
}
