// The Chinese field labels by property name; numbered properties share one label.
#include "frame/FieldLabels.hpp"

#include <regex>
#include <unordered_map>

#include "host/Dispatchable.hpp"

namespace tk::am {
namespace {

// Numbered properties (strCustom3, dblQuantity2) share one label with their number after it.
const std::unordered_map<std::string, std::string>& labels() {
    static const std::unordered_map<std::string, std::string> kLabels = {
        {"stramassetcode", "资产编码"},
        {"stramassetname", "资产名称"},
        {"stramassetcardcode", "卡片编号"},
        {"stramassetnationalcode", "国标编码"},
        {"stramassetlabelno", "标签编号"},
        {"stramassetauxcode", "附属设备编码"},
        {"stramassetauxname", "附属设备名称"},
        {"strauxstyle", "附属设备规格"},
        {"strassetstyle", "规格型号"},
        {"strassetmodel", "型号"},
        {"strstylemodel", "规格型号"},
        {"strbrandmodel", "品牌型号"},
        {"strworkunit", "计量单位"},
        {"strunit", "计量单位"},
        {"strdate", "日期"},
        {"strcreatedate", "建卡日期"},
        {"straddate", "增加日期"},
        {"strstartdate", "开始使用日期"},
        {"strscrapdate", "报废日期"},
        {"strscraptdate", "报废日期"},
        {"strfactorydate", "出厂日期"},
        {"strgetdate", "取得日期"},
        {"strcompletedate", "竣工日期"},
        {"strusedate", "使用日期"},
        {"strawarddate", "发证日期"},
        {"strguaranteeenddate", "保修截止日期"},
        {"strcustomdate", "自定义日期"},
        {"strcustom", "自定义项"},
        {"dblcustom", "自定义数值"},
        {"strtext", "自定义文本"},
        {"dblamount", "原值"},
        {"dblamountalter", "原值变动"},
        {"dbldepreciation", "累计折旧"},
        {"dbldepreciationalter", "累计折旧变动"},
        {"dbldecamount", "减值准备"},
        {"dbldecamountalter", "减值准备变动"},
        {"dblnetworth", "净残值"},
        {"dblnetworthalter", "净残值变动"},
        {"dbltransferamountalter", "调拨原值"},
        {"dbltransferdecamountalter", "调拨减值准备"},
        {"dbltransferdepreciationalter", "调拨累计折旧"},
        {"dblquantity", "数量"},
        {"dblquantityalter", "数量变动"},
        {"dblusage", "预计使用期间"},
        {"dbluseage", "预计使用期间"},
        {"dblusagealter", "使用期间变动"},
        {"dblstartusage", "已使用期间"},
        {"dblstartwork", "已完成工作量"},
        {"dblevaluatevalue", "评估价值"},
        {"dblassureamount", "保险金额"},
        {"strassuretype", "保险类型"},
        {"dbllendamount", "出租金额"},
        {"strlendtype", "出租方式"},
        {"dbllandarea", "土地面积"},
        {"dbllandcardarea", "土地证面积"},
        {"dblbuildingarea", "建筑面积"},
        {"dblroadarea", "道路面积"},
        {"dblusearea", "使用面积"},
        {"dblunderusearea", "地下使用面积"},
        {"dblunderbuildingarea", "地下建筑面积"},
        {"dblcarbarnarea", "车库面积"},
        {"dblcomputerarea", "机房面积"},
        {"dbleateryarea", "食堂面积"},
        {"dblfarearea", "营业面积"},
        {"dblmeetingarea", "会议室面积"},
        {"dblswitcharea", "交换机房面积"},
        {"dblexhaustvolume", "排气量"},
        {"strvehicleno", "车牌号"},
        {"strinvoicenumber", "发票号"},
        {"strreceiptno", "单据号"},
        {"strrefreceiptno", "参照单据号"},
        {"strprojectno", "项目编号"},
        {"stroutlaychanneltext", "经费来源"},
        {"stroutlaychannelvalue", "经费来源代码"},
        {"strmadein", "产地"},
        {"strmaker", "制造商"},
        {"strfactoryno", "出厂编号"},
        {"strfeatures", "技术特征"},
        {"strpurpose", "用途"},
        {"strgettype", "取得方式"},
        {"strposition", "存放地点"},
        {"strlevel", "等级"},
        {"strmanagementtype", "管理方式"},
        {"strmanagecustomer", "管理人"},
        {"strowner", "权属人"},
        {"strownership", "权属性质"},
        {"strnotes", "备注"},
        {"strdescription", "说明"},
        {"strflexibleid", "辅助项"},
        {"straccountstr", "科目"},
        {"strrelativeaccountstr", "对方科目"},
        {"strdepartmentstr", "部门"},
        {"strcurrencystr", "币种"},
        {"strcreatevoucher", "凭证"},
        {"strerrormsg", "错误信息"},
    };
    return kLabels;
}

}  // namespace

std::string FieldLabels::of(std::string_view property) {
    static const std::regex kNumbered(R"(([a-z]+?)(\d+))");
    const std::string key = lowerAscii(property);
    if (auto found = labels().find(key); found != labels().end()) return found->second;
    std::smatch parts;
    if (std::regex_match(key, parts, kNumbered))
        if (auto found = labels().find(parts[1]); found != labels().end())
            return found->second + parts[2].str();
    return std::string(property);
}

}  // namespace tk::am
