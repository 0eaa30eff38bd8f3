<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutWindow</name>
    <message>
        <source>关于Lanshu</source>
        <translation>About Lanshu</translation>
    </message>
    <message>
        <source>公司网站：</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>关于界面皮肤，请参见：</source>
        <translation>About the window styles, see:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>AddBookWindow</name>
    <message>
        <source>添加新书</source>
        <translation>New Book</translation>
    </message>
    <message>
        <source>书籍信息:</source>
        <translation>Book details:</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>出版社:</source>
        <translation>Publisher:</translation>
    </message>
    <message>
        <source>作者姓名:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>登记日期:</source>
        <translation>Registered on:</translation>
    </message>
    <message>
        <source>书籍页码:</source>
        <translation>Pages:</translation>
    </message>
    <message>
        <source>书籍价格:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>BackupWindow</name>
    <message>
        <source>备份与恢复</source>
        <translation>Backup and Restore</translation>
    </message>
    <message>
        <source>自动备份保留最近</source>
        <translation>Keep the latest</translation>
    </message>
    <message>
        <source>份</source>
        <translation>automatic backups</translation>
    </message>
    <message>
        <source>立即备份</source>
        <translation>Back Up Now</translation>
    </message>
    <message>
        <source>备份到…</source>
        <translation>Back Up To…</translation>
    </message>
    <message>
        <source>从备份恢复…</source>
        <translation>Restore from Backup…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>BasicSettingsWindow</name>
    <message>
        <source>基本设置</source>
        <translation>Basic Settings</translation>
    </message>
    <message>
        <source>最大借出册数设置</source>
        <translation>Loan limit</translation>
    </message>
    <message>
        <source>每人最多允许借出:</source>
        <translation>Books per reader at most:</translation>
    </message>
    <message>
        <source>本</source>
        <translation>books</translation>
    </message>
    <message>
        <source>罚款条件设置</source>
        <translation>Fines</translation>
    </message>
    <message>
        <source>超出一天罚款:</source>
        <translation>Fine per overdue day:</translation>
    </message>
    <message>
        <source>元</source>
        <translation>yuan</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>图书馆名称:</source>
        <translation>Library name:</translation>
    </message>
    <message>
        <source>凭条纸张:</source>
        <translation>Receipt paper:</translation>
    </message>
    <message>
        <source>借出后打印凭条</source>
        <translation>Print a receipt after lending</translation>
    </message>
    <message>
        <source>还书后打印凭条</source>
        <translation>Print a receipt after a return</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>凭条打印机:</source>
        <translation>Receipt printer:</translation>
    </message>
    <message>
        <source>标签打印机:</source>
        <translation>Label printer:</translation>
    </message>
    <message>
        <source>证卡打印机:</source>
        <translation>Card printer:</translation>
    </message>
    <message>
        <source>A4 打印机:</source>
        <translation>A4 printer:</translation>
    </message>
</context>
<context>
    <name>BookLabelsWindow</name>
    <message>
        <source>打印图书条码</source>
        <translation>Print Book Labels</translation>
    </message>
    <message>
        <source>打印哪些图书</source>
        <translation>Which books</translation>
    </message>
    <message>
        <source>编号范围:</source>
        <translation>Numbers from:</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>登记日期:</source>
        <translation>Registered from:</translation>
    </message>
    <message>
        <source>书库管理中选中的:</source>
        <translation>Picked in the catalogue:</translation>
    </message>
    <message>
        <source>编号清单文件:</source>
        <translation>List file:</translation>
    </message>
    <message>
        <source>选择文件…</source>
        <translation>Choose File…</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Label stock</translation>
    </message>
    <message>
        <source>规格:</source>
        <translation>Stock:</translation>
    </message>
    <message>
        <source>跳过前:</source>
        <translation>Skip the first:</translation>
    </message>
    <message>
        <source>个标签(用完半张标签纸)</source>
        <translation>labels (a half-used sheet)</translation>
    </message>
    <message>
        <source>自定义标签纸(毫米)</source>
        <translation>Custom sheet (millimetres)</translation>
    </message>
    <message>
        <source>纸张宽×高:</source>
        <translation>Page width × height:</translation>
    </message>
    <message>
        <source>行数×列数:</source>
        <translation>Rows × columns:</translation>
    </message>
    <message>
        <source>标签宽×高:</source>
        <translation>Label width × height:</translation>
    </message>
    <message>
        <source>左边距、上边距:</source>
        <translation>Left and top margins:</translation>
    </message>
    <message>
        <source>列间距、行间距:</source>
        <translation>Column and row gaps:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>存为 PDF…</source>
        <translation>Save as PDF…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
</context>
<context>
    <name>BookListWindow</name>
    <message>
        <source>书库管理</source>
        <translation>Catalogue</translation>
    </message>
    <message>
        <source>添加新书</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>打印条码…</source>
        <translation>Labels…</translation>
    </message>
    <message>
        <source>为选中的图书打印条码标签(按住 Ctrl 或 Shift 可选中多本)</source>
        <translation>Print barcode labels for the picked books (Ctrl or Shift picks several)</translation>
    </message>
</context>
<context>
    <name>BookQueryWindow</name>
    <message>
        <source>书库查询</source>
        <translation>Book Query</translation>
    </message>
    <message>
        <source>请选择要查询的项:</source>
        <translation>Search by:</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>出版社:</source>
        <translation>Publisher:</translation>
    </message>
    <message>
        <source>登记日期:</source>
        <translation>Registered on:</translation>
    </message>
    <message>
        <source>执行模糊查询</source>
        <translation>Partial match</translation>
    </message>
    <message>
        <source>开始查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>查询结果如下:</source>
        <translation>Results:</translation>
    </message>
</context>
<context>
    <name>CategoryWindow</name>
    <message>
        <source>设置图书类别</source>
        <translation>Book Categories</translation>
    </message>
    <message>
        <source>图书类别信息</source>
        <translation>Category details</translation>
    </message>
    <message>
        <source>类别代码:</source>
        <translation>Category code:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>借出天数:</source>
        <translation>Loan days:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>添加新类别</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改旧类别</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>删除旧类别</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Columns</name>
    <message>
        <source>书籍编号</source>
        <translation>Book No.</translation>
    </message>
    <message>
        <source>书籍名称</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>类别代码</source>
        <translation>Category Code</translation>
    </message>
    <message>
        <source>出版社</source>
        <translation>Publisher</translation>
    </message>
    <message>
        <source>作者姓名</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>书籍价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>书籍页码</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>登记日期</source>
        <translation>Registered</translation>
    </message>
    <message>
        <source>是否借出</source>
        <translation>Lent</translation>
    </message>
    <message>
        <source>书籍类别</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>借出天数</source>
        <translation>Loan Days</translation>
    </message>
    <message>
        <source>读者编号</source>
        <translation>Reader No.</translation>
    </message>
    <message>
        <source>读者姓名</source>
        <translation>Reader Name</translation>
    </message>
    <message>
        <source>读者性别</source>
        <translation>Sex</translation>
    </message>
    <message>
        <source>联系电话</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>所在部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>借书日期</source>
        <translation>Lent On</translation>
    </message>
    <message>
        <source>还书日期</source>
        <translation>Returned On</translation>
    </message>
    <message>
        <source>超出天数</source>
        <translation>Days Over</translation>
    </message>
    <message>
        <source>罚款金额</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>借出册数</source>
        <translation>Loan Limit</translation>
    </message>
    <message>
        <source>罚款</source>
        <translation>Fine per Day</translation>
    </message>
    <message>
        <source>应还日期</source>
        <translation>Due On</translation>
    </message>
    <message>
        <source>应交罚款</source>
        <translation>Fine Due</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
</context>
<context>
    <name>DatabaseFile</name>
    <message>
        <source>数据库文件 %1 不是数据库文件,无法识别其内容。
程序没有改动该文件,即将退出。</source>
        <translation>The database file %1 is not a database file; its content cannot be recognised.
The program has not changed the file and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 不完整,可能已被截断或损坏。
程序没有改动该文件,即将退出。</source>
        <translation>The database file %1 is incomplete; it may have been truncated or damaged.
The program has not changed the file and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 不是本程序的数据库(%2)。
程序没有改动该文件,即将退出。</source>
        <translation>The database file %1 is not this program&apos;s database (%2).
The program has not changed the file and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 由更新版本的程序建立(结构版本 %2),本程序只能使用版本 %3。
程序没有改动该文件,即将退出。</source>
        <translation>The database file %1 was made by a newer version of the program (structure version %2); this program can only use version %3.
The program has not changed the file and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 已损坏,完整性检查未通过(%2)。
程序没有改动该文件,即将退出。</source>
        <translation>The database file %1 is damaged: the integrity check failed (%2).
The program has not changed the file and will now exit.</translation>
    </message>
    <message>
        <source>无法读取数据库文件 %1(%2)。
程序即将退出。</source>
        <translation>Cannot read the database file %1 (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>文件属于其他程序</source>
        <translation>the file belongs to another program</translation>
    </message>
    <message>
        <source>缺少数据表 %1</source>
        <translation>the table %1 is missing</translation>
    </message>
    <message>
        <source>数据表 %1 缺少字段 %2</source>
        <translation>the table %1 lacks the column %2</translation>
    </message>
    <message>
        <source>无法建立文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法把 %1 改名为 %2</source>
        <translation>Cannot rename %1 to %2</translation>
    </message>
</context>
<context>
    <name>DaySheetWindow</name>
    <message>
        <source>今日汇总</source>
        <translation>Day Sheet</translation>
    </message>
    <message>
        <source>日期:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>DeskTexts</name>
    <message>
        <source>请先输入读者编号</source>
        <translation>Enter the reader number first</translation>
    </message>
    <message>
        <source>请先输入书籍编号</source>
        <translation>Enter the book number first</translation>
    </message>
    <message>
        <source>没有该读者信息!</source>
        <translation>No such reader!</translation>
    </message>
    <message>
        <source>没有该书信息!</source>
        <translation>No such book!</translation>
    </message>
    <message>
        <source>该读者没有登记姓名,请先在读者管理中补全!</source>
        <translation>This reader has no name on record; complete it in Reader Management first!</translation>
    </message>
    <message>
        <source>该书的%1为空,请先在书库管理中补全!</source>
        <translation>This book&apos;s %1 is empty; complete it in the Catalogue first!</translation>
    </message>
    <message>
        <source>日期 %2 早于该书的借书日期 %1,没有做任何改动。
请检查电脑的日期是否正确。</source>
        <translation>The date %2 is before the book&apos;s lending date %1; nothing was changed.
Please check that the computer&apos;s date is right.</translation>
    </message>
</context>
<context>
    <name>DocumentRenderer</name>
    <message>
        <source>纸张或页边距不合适，无法排版。</source>
        <translation>The paper or the margins do not allow a layout.</translation>
    </message>
    <message>
        <source>无法开始打印。</source>
        <translation>Cannot start printing.</translation>
    </message>
    <message>
        <source>无法开始新的一页。</source>
        <translation>Cannot start a new page.</translation>
    </message>
    <message>
        <source>打印未能完成。</source>
        <translation>Printing did not finish.</translation>
    </message>
    <message>
        <source>无法写入 PDF 文件 %1：%2</source>
        <translation>Cannot write the PDF file %1: %2</translation>
    </message>
    <message>
        <source>正在排版</source>
        <translation>Laying out</translation>
    </message>
    <message>
        <source>已取消。</source>
        <translation>Cancelled.</translation>
    </message>
    <message>
        <source>正在绘制页面</source>
        <translation>Drawing the pages</translation>
    </message>
</context>
<context>
    <name>LabelSheet</name>
    <message>
        <source>编号 %1 无法印成条码:%2</source>
        <translation>The number %1 cannot be made a barcode: %2</translation>
    </message>
    <message>
        <source>读者证</source>
        <translation>Reader Card</translation>
    </message>
    <message>
        <source>读者姓名:%1</source>
        <translation>Name: %1</translation>
    </message>
    <message>
        <source>读者编号:%1</source>
        <translation>Number: %1</translation>
    </message>
    <message>
        <source>所在部门:%1</source>
        <translation>Department: %1</translation>
    </message>
    <message>
        <source>图书条码</source>
        <translation>Book Labels</translation>
    </message>
    <message>
        <source>正在生成图书条码</source>
        <translation>Making the book labels</translation>
    </message>
    <message>
        <source>正在生成读者证</source>
        <translation>Making the reader cards</translation>
    </message>
</context>
<context>
    <name>LendingTab</name>
    <message>
        <source>读者信息</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>读者编号:</source>
        <translation>Reader number:</translation>
    </message>
    <message>
        <source>&lt;输完按回车&gt;</source>
        <translation>&lt;then Enter&gt;</translation>
    </message>
    <message>
        <source>读者姓名:</source>
        <translation>Reader name:</translation>
    </message>
    <message>
        <source>添加新读者</source>
        <translation>New Reader</translation>
    </message>
    <message>
        <source>图书信息</source>
        <translation>Book</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>书籍价格:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>出版社:</source>
        <translation>Publisher:</translation>
    </message>
    <message>
        <source>书籍页码:</source>
        <translation>Pages:</translation>
    </message>
    <message>
        <source>借出日期:</source>
        <translation>Lending date:</translation>
    </message>
    <message>
        <source>借出当前图书</source>
        <translation>Lend This Book</translation>
    </message>
    <message>
        <source>显示已借图书信息:</source>
        <translation>The reader&apos;s loans:</translation>
    </message>
    <message>
        <source>已借图书册数:</source>
        <translation>Books borrowed:</translation>
    </message>
    <message>
        <source>还允许借出册数:</source>
        <translation>May still borrow:</translation>
    </message>
</context>
<context>
    <name>LoanQueryWindow</name>
    <message>
        <source>借阅查询</source>
        <translation>Loan Query</translation>
    </message>
    <message>
        <source>请选择要查询的项:</source>
        <translation>Search by:</translation>
    </message>
    <message>
        <source>读者编号:</source>
        <translation>Reader number:</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>读者姓名:</source>
        <translation>Reader name:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>执行模糊查询</source>
        <translation>Partial match</translation>
    </message>
    <message>
        <source>开始查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>查询结果如下:</source>
        <translation>Results:</translation>
    </message>
</context>
<context>
    <name>LoginWindow</name>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>请输入帐号与密码!</source>
        <translation>Enter your account and password!</translation>
    </message>
    <message>
        <source>帐号:</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>&gt;&gt;</source>
        <translation>&gt;&gt;</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>岚枢图书管理系统</source>
        <translation>Lanshu Library Desk</translation>
    </message>
    <message>
        <source>正常借书</source>
        <translation>Lend</translation>
    </message>
    <message>
        <source>续借图书</source>
        <translation>Renew</translation>
    </message>
    <message>
        <source>还  书</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>书库管理</source>
        <translation>Catalogue</translation>
    </message>
    <message>
        <source>系统查询</source>
        <translation>Queries</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>界面风格</source>
        <translation>Window Style</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>添加新书</source>
        <translation>New Book</translation>
    </message>
    <message>
        <source>导出图书…</source>
        <translation>Export Books…</translation>
    </message>
    <message>
        <source>导出读者…</source>
        <translation>Export Readers…</translation>
    </message>
    <message>
        <source>导入图书…</source>
        <translation>Import Books…</translation>
    </message>
    <message>
        <source>导入读者…</source>
        <translation>Import Readers…</translation>
    </message>
    <message>
        <source>重印借书凭条</source>
        <translation>Reprint Loan Receipt</translation>
    </message>
    <message>
        <source>退出系统</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>书库查询</source>
        <translation>Book Query</translation>
    </message>
    <message>
        <source>借阅查询</source>
        <translation>Loan Query</translation>
    </message>
    <message>
        <source>逾期清单</source>
        <translation>Overdue List</translation>
    </message>
    <message>
        <source>今日汇总</source>
        <translation>Day Sheet</translation>
    </message>
    <message>
        <source>借阅统计</source>
        <translation>Loan Statistics</translation>
    </message>
    <message>
        <source>读者查询</source>
        <translation>Reader Query</translation>
    </message>
    <message>
        <source>基本设置</source>
        <translation>Basic Settings</translation>
    </message>
    <message>
        <source>图书类别</source>
        <translation>Book Categories</translation>
    </message>
    <message>
        <source>读者管理</source>
        <translation>Reader Management</translation>
    </message>
    <message>
        <source>备份与恢复</source>
        <translation>Backup and Restore</translation>
    </message>
    <message>
        <source>Windows默认</source>
        <translation>Windows Default</translation>
    </message>
    <message>
        <source>经典传奇</source>
        <translation>Classic Legend</translation>
    </message>
    <message>
        <source>轻松一刻</source>
        <translation>Light Hearted</translation>
    </message>
    <message>
        <source>使用帮助</source>
        <translation>Help Contents</translation>
    </message>
    <message>
        <source>每日小技巧</source>
        <translation>Tip of the Day</translation>
    </message>
    <message>
        <source>关于...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>打印图书条码…</source>
        <translation>Print Book Labels…</translation>
    </message>
    <message>
        <source>打印读者证…</source>
        <translation>Print Reader Cards…</translation>
    </message>
</context>
<context>
    <name>OverdueWindow</name>
    <message>
        <source>逾期清单</source>
        <translation>Overdue List</translation>
    </message>
    <message>
        <source>截至:</source>
        <translation>As of:</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>所在部门:</source>
        <translation>Department:</translation>
    </message>
    <message>
        <source>超出天数不少于:</source>
        <translation>Days over at least:</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>打印催还单</source>
        <translation>Print Notices</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PostgresBackend</name>
    <message>
        <source>无法连接数据库服务器上的图书馆 %1(%2)。
程序即将退出。</source>
        <translation>Cannot connect to the library on the database server %1 (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>无法升级服务器上的图书馆 %1 的结构(%2)。
程序即将退出。</source>
        <translation>Cannot bring the structure of the library %1 on the server up to date (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>服务器上的数据库 %1 中已有别的数据表,不是本程序的图书馆。
程序没有改动它,即将退出。</source>
        <translation>The database %1 on the server already holds other tables: it is not a library of this program.
The program did not change it and will now exit.</translation>
    </message>
    <message>
        <source>服务器上的图书馆 %1 由更新版本的程序建立(版本 %2),本程序无法使用。</source>
        <translation>The library %1 on the server was set up by a newer program (version %2); this program cannot use it.</translation>
    </message>
    <message>
        <source>服务器上的数据库 %1 的区域设置不能检索中文。
请用下面的语句重新建立它:
%2</source>
        <translation>The locale of the database %1 on the server cannot search Chinese text.
Create it again with this statement:
%2</translation>
    </message>
    <message>
        <source>无法在服务器上建立图书馆 %1(%2)。
程序即将退出。</source>
        <translation>Cannot set up the library %1 on the server (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>服务器上的数据库 %1 不是空的。请给出一个新建的空数据库。</source>
        <translation>The database %1 on the server is not empty. Give a newly created, empty database.</translation>
    </message>
    <message>
        <source>服务器上的图书馆不能在柜台上恢复备份。
请新建一个空数据库,再用 lendora-cli migrate --to 地址 --from 备份文件 移入。</source>
        <translation>A library on a server cannot be restored from a desk.
Create a new, empty database, then move the backup into it with lendora-cli migrate --to ADDRESS --from BACKUP.</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>Cancelling...</translation>
    </message>
</context>
<context>
    <name>QtPrintSink</name>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReaderCardsWindow</name>
    <message>
        <source>打印读者证</source>
        <translation>Print Reader Card</translation>
    </message>
    <message>
        <source>为哪些读者打印</source>
        <translation>Which readers</translation>
    </message>
    <message>
        <source>编号范围:</source>
        <translation>Numbers from:</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>一位读者:</source>
        <translation>One reader:</translation>
    </message>
    <message>
        <source>编号清单文件:</source>
        <translation>List file:</translation>
    </message>
    <message>
        <source>选择文件…</source>
        <translation>Choose File…</translation>
    </message>
    <message>
        <source>证卡纸</source>
        <translation>Card stock</translation>
    </message>
    <message>
        <source>规格:</source>
        <translation>Stock:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>存为 PDF…</source>
        <translation>Save as PDF…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
</context>
<context>
    <name>ReaderHistoryWindow</name>
    <message>
        <source>读者借阅历史</source>
        <translation>Reader&apos;s Loan History</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ReaderWindow</name>
    <message>
        <source>读者资料管理</source>
        <translation>Reader Register</translation>
    </message>
    <message>
        <source>读者信息</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>读者编号:</source>
        <translation>Reader No.:</translation>
    </message>
    <message>
        <source>读者姓名:</source>
        <translation>Reader name:</translation>
    </message>
    <message>
        <source>读者性别:</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>男</source>
        <translation>男</translation>
    </message>
    <message>
        <source>女</source>
        <translation>女</translation>
    </message>
    <message>
        <source>联系电话:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>所在部门:</source>
        <translation>Department:</translation>
    </message>
    <message>
        <source>查找读者信息</source>
        <translation>Find Reader</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>上一个读者</source>
        <translation>Previous reader</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>下一个读者</source>
        <translation>Next reader</translation>
    </message>
    <message>
        <source>添加新读者</source>
        <translation>New Reader</translation>
    </message>
    <message>
        <source>修改读者信息</source>
        <translation>Save Changes</translation>
    </message>
    <message>
        <source>删除该读者</source>
        <translation>Delete Reader</translation>
    </message>
    <message>
        <source>借阅历史</source>
        <translation>Loan History</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>打印读者证</source>
        <translation>Print Reader Card</translation>
    </message>
</context>
<context>
    <name>ReceiptDocument</name>
    <message>
        <source>借书凭条</source>
        <translation>Loan Receipt</translation>
    </message>
    <message>
        <source>读者编号</source>
        <translation>Reader No.</translation>
    </message>
    <message>
        <source>读者姓名</source>
        <translation>Reader Name</translation>
    </message>
    <message>
        <source>借书日期</source>
        <translation>Lent On</translation>
    </message>
    <message>
        <source>书籍编号</source>
        <translation>Book No.</translation>
    </message>
    <message>
        <source>书籍名称</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>应还日期</source>
        <translation>Due On</translation>
    </message>
    <message>
        <source>未设定</source>
        <translation>not set</translation>
    </message>
    <message>
        <source>本日借出 %1 册,还可借 %2 册</source>
        <translation>%1 lent today, %2 more allowed</translation>
    </message>
    <message>
        <source>请按期归还,逾期按日罚款。</source>
        <translation>Please return on time; a fine is charged per overdue day.</translation>
    </message>
    <message>
        <source>罚款凭条</source>
        <translation>Fine Receipt</translation>
    </message>
    <message>
        <source>还书日期</source>
        <translation>Returned On</translation>
    </message>
    <message>
        <source>超出天数</source>
        <translation>Days Over</translation>
    </message>
    <message>
        <source>%1 天</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>每天罚款</source>
        <translation>Fine per day</translation>
    </message>
    <message>
        <source>%1 元</source>
        <translation>%1 yuan</translation>
    </message>
    <message>
        <source>罚款金额:%1 元</source>
        <translation>Fine: %1 yuan</translation>
    </message>
</context>
<context>
    <name>RenewalTab</name>
    <message>
        <source>读者编号:</source>
        <translation>Reader number:</translation>
    </message>
    <message>
        <source>&lt;输完按回车&gt;</source>
        <translation>&lt;then Enter&gt;</translation>
    </message>
    <message>
        <source>读者姓名:</source>
        <translation>Reader name:</translation>
    </message>
    <message>
        <source>所借图书</source>
        <translation>Books on loan</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>借书日期:</source>
        <translation>Lent on:</translation>
    </message>
    <message>
        <source>借书日期改为:</source>
        <translation>New lending date:</translation>
    </message>
    <message>
        <source>确  定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ReturnTab</name>
    <message>
        <source>读者编号:</source>
        <translation>Reader number:</translation>
    </message>
    <message>
        <source>&lt;输完按回车&gt;</source>
        <translation>&lt;then Enter&gt;</translation>
    </message>
    <message>
        <source>读者姓名:</source>
        <translation>Reader name:</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>书籍价格:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>书籍页码:</source>
        <translation>Pages:</translation>
    </message>
    <message>
        <source>借出日期:</source>
        <translation>Lending date:</translation>
    </message>
    <message>
        <source>规定天数:</source>
        <translation>Loan days:</translation>
    </message>
    <message>
        <source>还书日期:</source>
        <translation>Returned on:</translation>
    </message>
    <message>
        <source>实际天数:</source>
        <translation>Days kept:</translation>
    </message>
    <message>
        <source>超出天数:</source>
        <translation>Days over:</translation>
    </message>
    <message>
        <source>罚款金额:</source>
        <translation>Fine:</translation>
    </message>
    <message>
        <source>归还图书</source>
        <translation>Return Book</translation>
    </message>
</context>
<context>
    <name>ServerAddress</name>
    <message>
        <source>数据库地址“%1”无法识别。
请写成 postgresql://用户名@服务器:端口/数据库名。</source>
        <translation>The database address “%1” is not understood.
Write it as postgresql://user@server:port/database.</translation>
    </message>
    <message>
        <source>数据库地址中不能写密码。
请把密码写在 ~/.pgpass 中或设置 PGPASSWORD。</source>
        <translation>A database address may not hold a password.
Put the password in ~/.pgpass or set PGPASSWORD.</translation>
    </message>
</context>
<context>
    <name>SqliteBackend</name>
    <message>
        <source>数据库文件的位置 %1 是一个文件夹,不是文件。
程序没有改动它,即将退出。</source>
        <translation>The database file&apos;s location %1 is a folder, not a file.
The program has not changed it and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 是只读文件,借还记录无法保存。
请取消它的只读属性后再启动程序。</source>
        <translation>The database file %1 is read-only; loans cannot be saved.
Clear its read-only attribute, then start the program again.</translation>
    </message>
    <message>
        <source>无法建立数据库文件 %1(%2)。
程序即将退出。</source>
        <translation>Cannot create the database file %1 (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>数据库结构升级前没能先备份:%1
升级照常进行。</source>
        <translation>Could not back up before upgrading the database structure: %1
The upgrade goes ahead.</translation>
    </message>
    <message>
        <source>无法打开数据库文件 %1(%2)。
程序即将退出。</source>
        <translation>Cannot open the database file %1 (%2).
The program will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 不存在,它旁边却留有上次运行的日志文件。
日志属于一个已不在的数据库,没有用于新建的数据库,已改名保存为 %2。</source>
        <translation>The database file %1 does not exist, but the log file of the last run is still beside it.
The log belongs to a database that is gone; it was not applied to the new database and was kept as %2.</translation>
    </message>
    <message>
        <source>上次程序没有正常退出,之后数据库文件 %1 被换成了另一个文件(例如恢复了备份)。
上次留下的日志属于原来的文件,没有用于现在的文件,已改名保存为 %2。
现在的文件中没有原来的文件最后的借还记录,请核对。</source>
        <translation>The program did not end normally last time, and the database file %1 was then replaced by another file (a restored backup, for example).
The log left last time belongs to the old file; it was not applied to the current file and was kept as %2.
The current file lacks the old file&apos;s last loans and returns; please check them.</translation>
    </message>
    <message>
        <source>数据库文件 %1 旁边留有不属于它的日志文件,无法把它移开(%2)。
程序没有改动任何文件,即将退出。</source>
        <translation>Beside the database file %1 is a log file that does not belong to it, and it cannot be moved away (%2).
The program has not changed any file and will now exit.</translation>
    </message>
    <message>
        <source>数据库文件 %1 的版本与本程序不同,请先关闭正在运行的借还程序再试。</source>
        <translation>The database file %1 is of another version than this program; close the desk program that is running, then try again.</translation>
    </message>
    <message>
        <source>找不到数据库文件 %1。</source>
        <translation>Cannot find the database file %1.</translation>
    </message>
    <message>
        <source>数据库文件 %1 已被删除或替换,不是程序打开的那个文件了。</source>
        <translation>The database file %1 has been deleted or replaced; it is no longer the file the program opened.</translation>
    </message>
</context>
<context>
    <name>SqliteBackup</name>
    <message>
        <source>无法读取数据库 %1:%2</source>
        <translation>Cannot read the database %1: %2</translation>
    </message>
    <message>
        <source>无法写入备份文件 %1:%2</source>
        <translation>Cannot write the backup file %1: %2</translation>
    </message>
    <message>
        <source>无法从 %1 恢复:%2</source>
        <translation>Cannot restore from %1: %2</translation>
    </message>
</context>
<context>
    <name>SqliteSchema</name>
    <message>
        <source>数据库中以下图书有多条未还的借阅记录:%1
请在还书页把这些图书逐条归还。在此之前,数据库暂不启用“一本书同时只能借出一次”的检查,程序照常运行。</source>
        <translation>These books have more than one open loan in the database: %1
Return them one loan at a time on the Return tab. Until then the database does not enforce &quot;a book is lent only once at a time&quot;; the program runs as usual.</translation>
    </message>
</context>
<context>
    <name>StatisticsViews</name>
    <message>
        <source>每月借阅与归还</source>
        <translation>Loans and Returns per Month</translation>
    </message>
    <message>
        <source>各类别借阅</source>
        <translation>Loans by Category</translation>
    </message>
    <message>
        <source>借阅最多的 %1 种图书</source>
        <translation>Top %1 Books</translation>
    </message>
    <message>
        <source>借阅最多的 %1 位读者</source>
        <translation>Top %1 Readers</translation>
    </message>
    <message>
        <source>从未借出的图书</source>
        <translation>Never-Lent Books</translation>
    </message>
    <message>
        <source>馆藏与在借</source>
        <translation>Collection and Loans</translation>
    </message>
    <message>
        <source>每月罚款</source>
        <translation>Fines per Month</translation>
    </message>
    <message>
        <source>借阅次数</source>
        <translation>Loans</translation>
    </message>
    <message>
        <source>罚款金额</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>%1 至 %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>借出</source>
        <translation>Lent</translation>
    </message>
    <message>
        <source>归还</source>
        <translation>Returned</translation>
    </message>
    <message>
        <source>从未借出</source>
        <translation>Never lent</translation>
    </message>
    <message>
        <source>共 %1 册图书从未借出,这里列出编号最小的 %2 册。</source>
        <translation>%1 books have never been lent; the %2 with the lowest numbers are listed here.</translation>
    </message>
    <message>
        <source>共 %1 册图书从未借出。</source>
        <translation>%1 books have never been lent.</translation>
    </message>
    <message>
        <source>藏书</source>
        <translation>Books</translation>
    </message>
    <message>
        <source>在借</source>
        <translation>On loan</translation>
    </message>
</context>
<context>
    <name>StatisticsWindow</name>
    <message>
        <source>借阅统计</source>
        <translation>Loan Statistics</translation>
    </message>
    <message>
        <source>从:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>至:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>统计</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Texts</name>
    <message>
        <source>岚枢图书管理系统</source>
        <translation>Lanshu Library Desk</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>TipsWindow</name>
    <message>
        <source>每日小技巧</source>
        <translation>Tip of the Day</translation>
    </message>
    <message>
        <source>你知道吗？</source>
        <translation>Did you know?</translation>
    </message>
    <message>
        <source>启动时显示</source>
        <translation>Show at start-up</translation>
    </message>
    <message>
        <source>显示下一条帮助信息</source>
        <translation>Show the next tip</translation>
    </message>
    <message>
        <source>下一个(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>退出帮助系统</source>
        <translation>Close the tips</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>UpdateBookWindow</name>
    <message>
        <source>正在修改图书</source>
        <translation>Modify Book</translation>
    </message>
    <message>
        <source>书籍信息</source>
        <translation>Book details</translation>
    </message>
    <message>
        <source>书籍编号:</source>
        <translation>Book number:</translation>
    </message>
    <message>
        <source>书籍名称:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>书籍类别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>出版社:</source>
        <translation>Publisher:</translation>
    </message>
    <message>
        <source>作者姓名:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>登记日期:</source>
        <translation>Registered on:</translation>
    </message>
    <message>
        <source>书籍页码:</source>
        <translation>Pages:</translation>
    </message>
    <message>
        <source>书籍价格:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>lendora::AddBookWindow</name>
    <message>
        <source>请输入书籍编号!</source>
        <translation>Enter the book number!</translation>
    </message>
    <message>
        <source>请输入书籍名称!</source>
        <translation>Enter the title!</translation>
    </message>
    <message>
        <source>请选择书籍类别!</source>
        <translation>Choose a category!</translation>
    </message>
    <message>
        <source>没有该书籍类别,请从列表中选择!</source>
        <translation>There is no such category; choose one from the list!</translation>
    </message>
    <message>
        <source>请输入书籍价格!</source>
        <translation>Enter the price!</translation>
    </message>
    <message>
        <source>新书添加完毕</source>
        <translation>The new book has been added</translation>
    </message>
    <message>
        <source>书籍编号已存在,不能重复添加!</source>
        <translation>This book number exists already; it cannot be added twice!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次写入,新书未添加!</source>
        <translation>The database refused this write; the new book was not added!</translation>
    </message>
</context>
<context>
    <name>lendora::Application</name>
    <message>
        <source>本程式已运行!</source>
        <translation>The program is already running!</translation>
    </message>
    <message>
        <source>程式初始化。。。</source>
        <translation>Starting...</translation>
    </message>
    <message>
        <source>上次程序没有正常退出,正在检查数据库文件,请稍候...</source>
        <translation>The program did not end normally last time; checking the database file, please wait...</translation>
    </message>
    <message>
        <source>正在升级数据库结构,图书和借阅记录多时需要几分钟,请稍候...</source>
        <translation>Upgrading the database structure; with many books and loans this takes a few minutes, please wait...</translation>
    </message>
    <message>
        <source>数据库文件夹 %1 不能写入,借还记录无法保存。
请让管理员给予写入权限后再启动程序。</source>
        <translation>The database folder %1 cannot be written; loans cannot be saved.
Ask an administrator for write permission, then start the program again.</translation>
    </message>
    <message>
        <source>数据库文件 %1 不能写入,借还记录无法保存。
请让管理员给予写入权限后再启动程序。</source>
        <translation>The database file %1 cannot be written; loans cannot be saved.
Ask an administrator for write permission, then start the program again.</translation>
    </message>
</context>
<context>
    <name>lendora::BackgroundCopy</name>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
</context>
<context>
    <name>lendora::BackupWindow</name>
    <message>
        <source>备份文件夹:%1</source>
        <translation>Backup folder: %1</translation>
    </message>
    <message>
        <source>正在备份……</source>
        <translation>Backing up……</translation>
    </message>
    <message>
        <source>备份完成:%1</source>
        <translation>Backup done: %1</translation>
    </message>
    <message>
        <source>备份没有完成。
%1</source>
        <translation>The backup did not finish.
%1</translation>
    </message>
    <message>
        <source>备份到</source>
        <translation>Back Up To</translation>
    </message>
    <message>
        <source>从备份恢复</source>
        <translation>Restore from Backup</translation>
    </message>
    <message>
        <source>图书馆数据库 (*.mdb)</source>
        <translation>Library databases (*.mdb)</translation>
    </message>
    <message>
        <source>不能用这个文件恢复,没有做任何改动。
%1</source>
        <translation>This file cannot be restored from; nothing was changed.
%1</translation>
    </message>
    <message>
        <source>这是正在使用的数据库文件本身,请选择一份备份。</source>
        <translation>This is the database file in use itself; choose a backup.</translation>
    </message>
    <message>
        <source>将用备份 %1 替换当前的全部数据(图书、类别、读者、借阅记录和基本设置)。
恢复前会先把当前数据备份到 %2。
是否继续?</source>
        <translation>The backup %1 will replace all current data (books, categories, readers, loans and basic settings).
The current data is first backed up to %2.
Continue?</translation>
    </message>
    <message>
        <source>没能先备份当前数据,没有恢复。
%1</source>
        <translation>Could not back up the current data first; nothing was restored.
%1</translation>
    </message>
    <message>
        <source>已从 %1 恢复。
恢复前的数据保存在 %2。</source>
        <translation>Restored from %1.
The data from before the restore is kept in %2.</translation>
    </message>
    <message>
        <source>恢复没有完成,数据保持原样。
%1</source>
        <translation>The restore did not finish; the data is as it was.
%1</translation>
    </message>
    <message>
        <source>另一份备份正在进行,请等它完成后再试。</source>
        <translation>Another backup is under way; try again once it has finished.</translation>
    </message>
</context>
<context>
    <name>lendora::BasicSettingsWindow</name>
    <message>
        <source>设置完毕!</source>
        <translation>Settings saved!</translation>
    </message>
    <message>
        <source>输入的数值不正确,设置未保存!</source>
        <translation>The values entered are not valid; the settings were not saved!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次写入,设置未保存!</source>
        <translation>The database refused this write; the settings were not saved!</translation>
    </message>
    <message>
        <source>无法读取基本设置,数据库操作失败。
%1</source>
        <translation>Cannot read the basic settings: the database operation failed.
%1</translation>
    </message>
    <message>
        <source>设置文件 setting.ini 无法写入,打印设置未保存!</source>
        <translation>The settings file setting.ini cannot be written; the print settings were not saved!</translation>
    </message>
    <message>
        <source>80毫米卷纸</source>
        <translation>80 mm roll</translation>
    </message>
    <message>
        <source>A5</source>
        <translation>A5</translation>
    </message>
    <message>
        <source>(每次询问)</source>
        <translation>(ask each time)</translation>
    </message>
    <message>
        <source>%1(现在找不到)</source>
        <translation>%1 (not found now)</translation>
    </message>
</context>
<context>
    <name>lendora::BookLabelsWindow</name>
    <message>
        <source>请输入起止书籍编号!</source>
        <translation>Enter the first and last book numbers!</translation>
    </message>
    <message>
        <source>书籍编号从 %1 到 %2 之间没有图书。</source>
        <translation>No book has a number from %1 to %2.</translation>
    </message>
    <message>
        <source>起始日期不能晚于结束日期!</source>
        <translation>The start date cannot be after the end date!</translation>
    </message>
    <message>
        <source>%1 到 %2 之间没有登记的图书。</source>
        <translation>No book was registered from %1 to %2.</translation>
    </message>
    <message>
        <source>请先在书库管理窗口中选中图书,再点击其中的“打印条码…”。</source>
        <translation>First pick books in the catalogue window, then click its &quot;Labels…&quot;.</translation>
    </message>
    <message>
        <source>请选择编号清单文件!</source>
        <translation>Choose a list file!</translation>
    </message>
    <message>
        <source>这些书籍编号不在书库中:%1
没有打印任何标签。</source>
        <translation>These book numbers are not in the library: %1
No label was printed.</translation>
    </message>
    <message>
        <source>数据库无法读取,没有打印任何标签。
%1</source>
        <translation>The database cannot be read; no label was printed.
%1</translation>
    </message>
    <message>
        <source>%1 本</source>
        <translation>%1 books</translation>
    </message>
    <message>
        <source>编号清单文件</source>
        <translation>List File</translation>
    </message>
    <message>
        <source>文本文件 (*.txt *.csv);;所有文件 (*)</source>
        <translation>Text files (*.txt *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>生成图书条码</source>
        <translation>Making Book Labels</translation>
    </message>
    <message>
        <source>图书条码-%1.pdf</source>
        <translation>Book labels-%1.pdf</translation>
    </message>
</context>
<context>
    <name>lendora::BookListWindow</name>
    <message>
        <source>是否真的要删除编号为%1的书籍信息?</source>
        <translation>Really delete the book numbered %1?</translation>
    </message>
    <message>
        <source>编号%1已删除!</source>
        <translation>Book %1 has been deleted!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次删除,编号%1未删除!</source>
        <translation>The database refused this deletion; book %1 was not deleted!</translation>
    </message>
    <message>
        <source>书库-%1.csv</source>
        <translation>Catalogue-%1.csv</translation>
    </message>
</context>
<context>
    <name>lendora::BookQueryWindow</name>
    <message>
        <source>查询结果如下!!</source>
        <translation>Results:</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取!</source>
        <translation>The search failed: the database cannot be read!</translation>
    </message>
    <message>
        <source>图书查询-%1.csv</source>
        <translation>Book query-%1.csv</translation>
    </message>
</context>
<context>
    <name>lendora::CategoryWindow</name>
    <message>
        <source>保存完毕!</source>
        <translation>Saved!</translation>
    </message>
    <message>
        <source>删除完毕!</source>
        <translation>Deleted!</translation>
    </message>
    <message>
        <source>是否真的要删除类别代码为%1的类别信息?</source>
        <translation>Really delete the category with code %1?</translation>
    </message>
    <message>
        <source>请输入类别代码!</source>
        <translation>Enter the category code!</translation>
    </message>
    <message>
        <source>类别代码已存在,不能重复添加!</source>
        <translation>This category code exists already; it cannot be added twice!</translation>
    </message>
    <message>
        <source>借出天数必须是整数!</source>
        <translation>The loan days must be a whole number!</translation>
    </message>
    <message>
        <source>该类别已不存在,无法保存!</source>
        <translation>This category no longer exists; it cannot be saved!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次写入,类别未保存!</source>
        <translation>The database refused this write; the category was not saved!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次删除,类别未删除!</source>
        <translation>The database refused this deletion; the category was not deleted!</translation>
    </message>
    <message>
        <source>类别代码“%1”不是一个字符!
图书窗口只取类别的第一个字符作为代码,请改用一个字符的代码。</source>
        <translation>The category code &quot;%1&quot; is not one character!
The book windows take only the first character of a category as its code; please use a one-character code.</translation>
    </message>
</context>
<context>
    <name>lendora::CirculationDesk</name>
    <message>
        <source>无法读取该读者的借阅记录,请稍后再试。
%1</source>
        <translation>Cannot read this reader&apos;s loans; please try again later.
%1</translation>
    </message>
    <message>
        <source>该读者%1没有借书,没有凭条可打印!</source>
        <translation>Reader %1 has borrowed nothing; there is no receipt to print!</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>Today</translation>
    </message>
</context>
<context>
    <name>lendora::Cli</name>
    <message>
        <source>退出状态: 0 完成; 1 拒绝(文件或数据有问题,没有写入); 2 用法错误; 3 数据库不可用或正忙
</source>
        <translation>Exit status: 0 done; 1 refused (a problem with the file or the data, nothing written); 2 usage error; 3 database unavailable or busy
</translation>
    </message>
    <message>
        <source>没有给出命令</source>
        <translation>No command given</translation>
    </message>
    <message>
        <source>未知的命令: %1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <source>未知的选项: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>选项重复: %1</source>
        <translation>Option given twice: %1</translation>
    </message>
    <message>
        <source>选项 %1 缺少值</source>
        <translation>Option %1 lacks its value</translation>
    </message>
    <message>
        <source>选项 %1 不带值</source>
        <translation>Option %1 takes no value</translation>
    </message>
    <message>
        <source>多余的参数: %1</source>
        <translation>Extra argument: %1</translation>
    </message>
    <message>
        <source>用法: lendora-cli [--app-dir 目录] [--database 地址] 命令 ...
  --app-dir 目录  程序目录(默认: 本程序所在的目录)
  --database 地址 服务器上的图书馆,postgresql://用户名@服务器:端口/数据库名
                  (默认: 程序目录中 setting.ini 的 Database=)
  --help          显示本说明
  --version       显示版本
命令:
</source>
        <translation>Usage: lendora-cli [--app-dir DIR] [--database ADDRESS] COMMAND ...
  --app-dir DIR   the program&apos;s folder (default: the folder of this program)
  --database ADDRESS a library on a server, postgresql://user@server:port/database
                  (default: Database= in the program folder&apos;s setting.ini)
  --help          show this help
  --version       show the version
Commands:
</translation>
    </message>
</context>
<context>
    <name>lendora::DailyBackup</name>
    <message>
        <source>今天的自动备份没有完成。
%1</source>
        <translation>Today&apos;s automatic backup did not finish.
%1</translation>
    </message>
</context>
<context>
    <name>lendora::DaySheet</name>
    <message>
        <source>借出</source>
        <translation>Lent</translation>
    </message>
    <message>
        <source>还书</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>借出(含续借) %1 册,还书 %2 册,罚款合计 %3 元</source>
        <translation>%1 lent (renewals included), %2 returned, fines %3 yuan in all</translation>
    </message>
    <message>
        <source>续借的图书计入续借当天的借出,不再计入最初借出的那一天。</source>
        <translation>A renewed loan counts among the loans of the day it was renewed, no longer on the day it was first lent.</translation>
    </message>
</context>
<context>
    <name>lendora::DaySheetDocument</name>
    <message>
        <source>今日汇总</source>
        <translation>Day Sheet</translation>
    </message>
    <message>
        <source>日期:%1</source>
        <translation>Date: %1</translation>
    </message>
</context>
<context>
    <name>lendora::DaySheetWindow</name>
    <message>
        <source>今日汇总-%1.csv</source>
        <translation>Day sheet-%1.csv</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取!</source>
        <translation>The search failed: the database cannot be read!</translation>
    </message>
</context>
<context>
    <name>lendora::DbError</name>
    <message>
        <source>数据库正忙,另一个程序正在写入。没有做任何改动,请稍后再试。</source>
        <translation>The database is busy: another program is writing. Nothing was changed; please try again later.</translation>
    </message>
    <message>
        <source>磁盘空间不足,没有做任何改动。</source>
        <translation>The disk is full; nothing was changed.</translation>
    </message>
    <message>
        <source>读写数据库文件时磁盘出错,没有做任何改动。
%1</source>
        <translation>A disk error occurred reading or writing the database file; nothing was changed.
%1</translation>
    </message>
    <message>
        <source>数据库文件已被删除或替换,不再是程序打开的那个文件。
没有做任何改动,程序将停止写入并退出。</source>
        <translation>The database file has been deleted or replaced and is no longer the file the program opened.
Nothing was changed; the program stops writing and will exit.</translation>
    </message>
    <message>
        <source>与数据库的连接已断开,没有做任何改动。
%1</source>
        <translation>The connection to the database was lost; nothing was changed.
%1</translation>
    </message>
    <message>
        <source>数据库操作失败,没有做任何改动。
%1</source>
        <translation>The database operation failed; nothing was changed.
%1</translation>
    </message>
    <message>
        <source>保存时出错(%1),无法确认这次改动是否已经保存。
请重新查询该读者或书籍后再继续。</source>
        <translation>An error occurred while saving (%1); it is not certain whether this change was saved.
Look up the reader or the book again before going on.</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>磁盘读写出错</source>
        <translation>disk read or write error</translation>
    </message>
    <message>
        <source>数据库文件没有通过检查,可能已经损坏,为保护现有记录,程序不再保存任何改动。
这次没有做任何改动。请在 系统设置 → 备份与恢复 中用备份恢复数据库文件。</source>
        <translation>The database file did not pass its check and may be damaged; to protect the records, the program saves no more changes.
Nothing was changed this time. Restore the database file from a backup in Settings → Backup and Restore.</translation>
    </message>
    <message>
        <source>已有相同编号或代码的记录,没有做任何改动。</source>
        <translation>A record with the same number or code exists already; nothing was changed.</translation>
    </message>
</context>
<context>
    <name>lendora::DeskCommandLine</name>
    <message>
        <source>用法: lendora [--help | --version | --database 地址]
岚枢图书管理系统: 图书馆借还书柜台的程序。
  --help     显示本说明
  --version  显示版本
  --database postgresql://用户名@服务器:端口/数据库名
             使用服务器上多个柜台共用的图书馆(也可写在 setting.ini 的 Database= 中)
界面语言: setting.ini 中 Language=zh_CN 为中文, Language=en 为英文;没有这一项时按系统的语言环境。
</source>
        <translation>Usage: lendora [--help | --version | --database ADDRESS]
Lanshu Library Desk: the lending desk of a library.
  --help     show this help
  --version  show the version
  --database postgresql://user@server:port/database
             use a library that several desks share on a server (or Database= in setting.ini)
Language: Language=zh_CN in setting.ini for Chinese, Language=en for English; without it, the system&apos;s locale decides.
</translation>
    </message>
</context>
<context>
    <name>lendora::DeskSettings</name>
    <message>
        <source>图书馆</source>
        <translation>Library</translation>
    </message>
</context>
<context>
    <name>lendora::ExportCommand</name>
    <message>
        <source>把整张表写成 CSV 文件(&quot;-&quot; 为标准输出),默认 UTF-8,
--encoding gb18030 写成 GB18030; 文件名以 .xlsx 结尾时写 Excel 工作簿。</source>
        <translation>Writes a whole table as a CSV file (&quot;-&quot; for standard output), UTF-8 by default;
--encoding gb18030 writes GB18030; a file name ending in .xlsx writes an Excel workbook.</translation>
    </message>
    <message>
        <source>缺少表名(books、readers、categories 或 loans)</source>
        <translation>The table name is missing (books, readers, categories or loans)</translation>
    </message>
    <message>
        <source>没有这张表: %1</source>
        <translation>No such table: %1</translation>
    </message>
    <message>
        <source>缺少文件名</source>
        <translation>The file name is missing</translation>
    </message>
    <message>
        <source>多余的参数: %1</source>
        <translation>Extra argument: %1</translation>
    </message>
    <message>
        <source>编码无效: %1(应为 utf-8 或 gb18030)</source>
        <translation>Invalid encoding: %1 (utf-8 or gb18030)</translation>
    </message>
    <message>
        <source>--encoding 只用于 CSV 文件</source>
        <translation>--encoding is for CSV files only</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有导出。</source>
        <translation>Cannot write the file %1; nothing was exported.</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有导出: %2</source>
        <translation>Cannot write the file %1; nothing was exported: %2</translation>
    </message>
    <message>
        <source>books|readers|categories|loans 文件 [--encoding utf-8|gb18030]</source>
        <translation>books|readers|categories|loans FILE [--encoding utf-8|gb18030]</translation>
    </message>
</context>
<context>
    <name>lendora::FileCheckWatch</name>
    <message>
        <source>正在检查数据库文件,检查完成后才能保存,请稍候...</source>
        <translation>Checking the database file; changes can be saved once the check is done, please wait...</translation>
    </message>
    <message>
        <source>上次程序没有正常退出,检查数据库文件 %1 时发现它已损坏:
%2

为保护现有记录,程序不再保存任何改动(借书、还书、续借等),查询仍可使用。</source>
        <translation>The program did not end normally last time, and checking the database file %1 found it damaged:
%2

To protect the records there, the program saves no more changes (lending, returns, renewals and so on); searches still work.</translation>
    </message>
    <message>
        <source>最新的备份是 %1。
要恢复,请在 系统设置 → 备份与恢复 中选择它。现在打开该窗口吗?</source>
        <translation>The latest backup is %1.
To restore it, choose it in Settings → Backup and Restore. Open that window now?</translation>
    </message>
    <message>
        <source>没有找到备份。请退出程序,请管理员修复或更换数据库文件。</source>
        <translation>No backup was found. Exit the program and ask an administrator to repair or replace the database file.</translation>
    </message>
</context>
<context>
    <name>lendora::GridExport</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>CSV 文件 UTF-8 (*.csv)</source>
        <translation>CSV file UTF-8 (*.csv)</translation>
    </message>
    <message>
        <source>CSV 文件 GB18030 (*.csv)</source>
        <translation>CSV file GB18030 (*.csv)</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbook (*.xlsx)</translation>
    </message>
    <message>
        <source>已导出 %1 行到 %2。</source>
        <translation>Exported %1 rows to %2.</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有导出。</source>
        <translation>Cannot write the file %1; nothing was exported.</translation>
    </message>
    <message>
        <source>数据库无法读取,没有导出。</source>
        <translation>The database cannot be read; nothing was exported.</translation>
    </message>
</context>
<context>
    <name>lendora::Import</name>
    <message>
        <source>第 %1 行 %2: %3</source>
        <translation>Line %1 %2: %3</translation>
    </message>
    <message>
        <source>第 %1 行: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>文件中没有“%1”列,请在列对应中选择哪一列是%1。</source>
        <translation>The file has no column &quot;%1&quot;; choose in the column mapping which column is %1.</translation>
    </message>
    <message>
        <source>文件是空的,没有标题行。</source>
        <translation>The file is empty; it has no heading line.</translation>
    </message>
    <message>
        <source>文件只有标题行,没有数据。</source>
        <translation>The file has only its heading line and no data.</translation>
    </message>
    <message>
        <source>这不是文本文件(含有二进制内容),不能导入。</source>
        <translation>This is not a text file (it holds binary content); it cannot be imported.</translation>
    </message>
    <message>
        <source>文件的编码无法识别(既不是 UTF-8 也不是 GB18030),不能导入。
请在表格程序中把它另存为“CSV UTF-8”格式后再导入。</source>
        <translation>The file&apos;s encoding is not recognised (neither UTF-8 nor GB18030); it cannot be imported.
Save it as &quot;CSV UTF-8&quot; in the spreadsheet program, then import it.</translation>
    </message>
    <message>
        <source>第 %1 行的引号没有闭合,文件不完整或格式有误。</source>
        <translation>The quote on line %1 is not closed; the file is incomplete or malformed.</translation>
    </message>
    <message>
        <source>编号为空</source>
        <translation>the number is empty</translation>
    </message>
    <message>
        <source>与第 %1 行的编号重复</source>
        <translation>the same number as line %1</translation>
    </message>
    <message>
        <source>数据库中已有编号“%1”</source>
        <translation>the database already has the number &quot;%1&quot;</translation>
    </message>
    <message>
        <source>类别代码为空</source>
        <translation>the category code is empty</translation>
    </message>
    <message>
        <source>类别代码“%1”不存在</source>
        <translation>the category code &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <source>“%1”不是日期(应为 2026-12-08、2026/12/8、2026.12.8 或 2026年12月8日)</source>
        <translation>&quot;%1&quot; is not a date (2026-12-08, 2026/12/8, 2026.12.8 or 2026年12月8日)</translation>
    </message>
    <message>
        <source>长 %1 字节,超过了 %2 字节(一个汉字算两个字节)</source>
        <translation>%1 bytes long, more than %2 bytes (a Chinese character counts as two)</translation>
    </message>
    <message>
        <source>比标题行多出内容,可能有逗号没有加引号</source>
        <translation>more content than the heading line: a comma may lack its quotes</translation>
    </message>
    <message>
        <source>导入完毕,共添加 %1 本图书。</source>
        <translation>Import done: %1 books added.</translation>
    </message>
    <message>
        <source>导入完毕,共添加 %1 位读者。</source>
        <translation>Import done: %1 readers added.</translation>
    </message>
    <message>
        <source>另有 %1 行的编号数据库中已有,已跳过。</source>
        <translation>%1 more lines have numbers the database already has; they were skipped.</translation>
    </message>
    <message>
        <source>没有导入任何数据。</source>
        <translation>Nothing was imported.</translation>
    </message>
    <message>
        <source>有 %1 行不能导入,请改正后再导入:</source>
        <translation>%1 lines cannot be imported; correct them, then import again:</translation>
    </message>
    <message>
        <source>……还有 %1 行</source>
        <translation>……and %1 more lines</translation>
    </message>
    <message>
        <source>无法读取这个 .xlsx 工作簿(文件已损坏,或不是表格程序保存的工作簿),不能导入。</source>
        <translation>This .xlsx workbook cannot be read (the file is damaged, or is no workbook saved by a spreadsheet program); nothing can be imported.</translation>
    </message>
    <message>
        <source>类别代码“%1”不是一个字符,图书只能归入一个字符的类别</source>
        <translation>the category code &quot;%1&quot; is not one character; books are filed only under one-character categories</translation>
    </message>
    <message>
        <source>标题行右边的列也有内容,请给这些列加上列名</source>
        <translation>there is content right of the header&apos;s columns; give those columns headings</translation>
    </message>
</context>
<context>
    <name>lendora::ImportCommand</name>
    <message>
        <source>请指明导入 books(图书)还是 readers(读者)</source>
        <translation>Say whether to import books or readers</translation>
    </message>
    <message>
        <source>缺少要导入的文件名</source>
        <translation>The file to import is missing</translation>
    </message>
    <message>
        <source>无法读取文件 %1,没有导入任何数据。</source>
        <translation>Cannot read the file %1; nothing was imported.</translation>
    </message>
    <message>
        <source>检查完毕,可以导入 %1 行(没有写入)。</source>
        <translation>Checked: %1 lines can be imported (nothing written).</translation>
    </message>
    <message>
        <source>books|readers 文件 [--dry-run] [--skip-existing]</source>
        <translation>books|readers FILE [--dry-run] [--skip-existing]</translation>
    </message>
    <message>
        <source>从 CSV 文件或 .xlsx 工作簿(读第一个工作表)导入图书或读者(标题行为列名,如 书籍编号、
书籍名称……),全部导入或一行也不导入;
--dry-run 只检查不写入, --skip-existing 跳过数据库中已有的编号。</source>
        <translation>Imports books or readers from a CSV file or an .xlsx workbook (its first sheet), headed by the
column names (such as 书籍编号, 书籍名称…), all lines or none;
--dry-run only checks and writes nothing, --skip-existing skips numbers the database already has.</translation>
    </message>
</context>
<context>
    <name>lendora::ImportWindow</name>
    <message>
        <source>导入图书</source>
        <translation>Import Books</translation>
    </message>
    <message>
        <source>导入读者</source>
        <translation>Import Readers</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>选择文件…</source>
        <translation>Choose File…</translation>
    </message>
    <message>
        <source>编码:</source>
        <translation>Encoding:</translation>
    </message>
    <message>
        <source>列对应(每一项取文件的哪一列)</source>
        <translation>Column mapping (which column of the file each item takes)</translation>
    </message>
    <message>
        <source>(不导入)</source>
        <translation>(not imported)</translation>
    </message>
    <message>
        <source>预览(前 %1 行)</source>
        <translation>Preview (first %1 lines)</translation>
    </message>
    <message>
        <source>不能导入的行</source>
        <translation>Lines that cannot be imported</translation>
    </message>
    <message>
        <source>跳过已有的编号</source>
        <translation>Skip numbers that exist</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>共 %1 行:可导入 %2 行,跳过 %3 行,不能导入 %4 行</source>
        <translation>%1 lines: %2 to import, %3 to skip, %4 that cannot be imported</translation>
    </message>
    <message>
        <source>请先选择要导入的文件。</source>
        <translation>Choose the file to import first.</translation>
    </message>
    <message>
        <source>无法读取文件 %1,没有导入任何数据。</source>
        <translation>Cannot read the file %1; nothing was imported.</translation>
    </message>
    <message>
        <source>选择要导入的 CSV 文件或 Excel 工作簿</source>
        <translation>Choose the CSV file or Excel workbook to import</translation>
    </message>
    <message>
        <source>CSV 文件或工作簿 (*.csv *.txt *.xlsx);;CSV 文件 (*.csv *.txt);;Excel 工作簿 (*.xlsx);;所有文件 (*)</source>
        <translation>CSV files or workbooks (*.csv *.txt *.xlsx);;CSV files (*.csv *.txt);;Excel workbooks (*.xlsx);;All files (*)</translation>
    </message>
</context>
<context>
    <name>lendora::LabelCommands</name>
    <message>
        <source>(--from 编号 --to 编号 | --added yyyy-MM-dd[:yyyy-MM-dd] | --list 文件)
         --pdf 文件 [--stock a4-3x8|a4-4x10|a4-2x7|roll-50x30|roll-40x30] [--skip N]</source>
        <translation>(--from NUMBER --to NUMBER | --added yyyy-MM-dd[:yyyy-MM-dd] | --list FILE)
         --pdf FILE [--stock a4-3x8|a4-4x10|a4-2x7|roll-50x30|roll-40x30] [--skip N]</translation>
    </message>
    <message>
        <source>图书条码标签写成 PDF: 编号范围(按文字比较,含两端)或登记日期内的图书按编号顺序,
清单文件(每行一个编号,UTF-8)按文件中的顺序; 默认 a4-3x8; --skip 跳过第一张的前 N 个标签。</source>
        <translation>Book barcode labels as a PDF: the books of a number range (compared as text, both ends included) or of registration days in number order,
a list file (one number a line, UTF-8) in its order; a4-3x8 by default; --skip leaves the first N labels of the first sheet empty.</translation>
    </message>
    <message>
        <source>(--from 编号 --to 编号 | --list 文件) --pdf 文件 [--stock card|a4-2x5]</source>
        <translation>(--from NUMBER --to NUMBER | --list FILE) --pdf FILE [--stock card|a4-2x5]</translation>
    </message>
    <message>
        <source>读者证写成 PDF: card 为证卡打印机每页一张,a4-2x5(默认)为 A4 纸每页 10 张。</source>
        <translation>Reader cards as a PDF: card for a card printer, one a page; a4-2x5 (the default) ten to an A4 sheet.</translation>
    </message>
    <message>
        <source>请给出 --from 和 --to、--added 或 --list 中的一种</source>
        <translation>Give one of --from and --to, --added or --list</translation>
    </message>
    <message>
        <source>请给出 --from 和 --to,或 --list,只给一种</source>
        <translation>Give either --from and --to, or --list</translation>
    </message>
    <message>
        <source>--from 和 --to 要一起给出</source>
        <translation>--from and --to go together</translation>
    </message>
    <message>
        <source>缺少 --pdf 文件</source>
        <translation>--pdf FILE is missing</translation>
    </message>
    <message>
        <source>日期无效: %1(应为 yyyy-MM-dd 或 yyyy-MM-dd:yyyy-MM-dd)</source>
        <translation>Invalid date: %1 (yyyy-MM-dd or yyyy-MM-dd:yyyy-MM-dd)</translation>
    </message>
    <message>
        <source>未知的规格: %1(可用: %2)</source>
        <translation>Unknown stock: %1 (known: %2)</translation>
    </message>
    <message>
        <source>--skip 应为 0 到 %1 之间的整数: %2</source>
        <translation>--skip takes a whole number from 0 to %1: %2</translation>
    </message>
    <message>
        <source>选择的范围内没有%1,没有写入文件。</source>
        <translation>No %1 in what was chosen; no file was written.</translation>
    </message>
    <message>
        <source>图书</source>
        <translation>books</translation>
    </message>
    <message>
        <source>读者</source>
        <translation>readers</translation>
    </message>
    <message>
        <source>书库中没有这个书籍编号: %1</source>
        <translation>No book in the library has the number: %1</translation>
    </message>
    <message>
        <source>没有这个读者编号: %1</source>
        <translation>No reader has the number: %1</translation>
    </message>
    <message>
        <source>没有写入文件。</source>
        <translation>No file was written.</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有写入任何文件。</source>
        <translation>Cannot write the file %1; no file was written.</translation>
    </message>
    <message>
        <source>没有写入 %1: %2</source>
        <translation>%1 was not written: %2</translation>
    </message>
    <message>
        <source>已写入 %1: %2 张,%3 页
</source>
        <translation>Written %1: %2 labels, %3 pages
</translation>
    </message>
</context>
<context>
    <name>lendora::LabelStock</name>
    <message>
        <source>纸张和标签的尺寸必须大于 0,行数和列数至少为 1。</source>
        <translation>The page and the labels must measure more than 0, and there must be at least one row and one column.</translation>
    </message>
    <message>
        <source>%1 列标签连同左边距和间距比纸张还宽。</source>
        <translation>%1 columns of labels, with the left margin and the gaps, are wider than the page.</translation>
    </message>
    <message>
        <source>%1 行标签连同上边距和间距比纸张还高。</source>
        <translation>%1 rows of labels, with the top margin and the gaps, are taller than the page.</translation>
    </message>
</context>
<context>
    <name>lendora::LendingTab</name>
    <message>
        <source>请先输入读者编号!</source>
        <translation>Enter the reader number first!</translation>
    </message>
    <message>
        <source>该书已经借出,请选择其它图书!</source>
        <translation>This book is on loan; choose another book!</translation>
    </message>
    <message>
        <source>您的书已经借满,不能再借!</source>
        <translation>You have borrowed as many books as allowed!</translation>
    </message>
    <message>
        <source>借出完毕!</source>
        <translation>Lent!</translation>
    </message>
    <message>
        <source>没有设定借出册数,请先在基本设置中设定!</source>
        <translation>No loan limit is set; set it in Basic Settings first!</translation>
    </message>
    <message>
        <source>借出册数设定不正确,请先在基本设置中改正!</source>
        <translation>The loan limit is not valid; correct it in Basic Settings first!</translation>
    </message>
    <message>
        <source>在借图书-%1-%2.csv</source>
        <translation>Loans-%1-%2.csv</translation>
    </message>
    <message>
        <source>已借图书册数:</source>
        <translation>Books borrowed:</translation>
    </message>
</context>
<context>
    <name>lendora::LibraryCheck</name>
    <message>
        <source>书籍 %1 标为已借出,但没有未还的借阅记录</source>
        <translation>Book %1 is marked as lent but has no open loan</translation>
    </message>
    <message>
        <source>书籍 %1 有未还的借阅记录,但没有标为已借出</source>
        <translation>Book %1 has an open loan but is not marked as lent</translation>
    </message>
    <message>
        <source>数据库检查:%1</source>
        <translation>Database check: %1</translation>
    </message>
    <message>
        <source>类别“%1-%2”的代码不是一个字符,图书窗口中不能选择它</source>
        <translation>category &quot;%1-%2&quot; has a code of more than one character; the book windows cannot choose it</translation>
    </message>
</context>
<context>
    <name>lendora::LoanHistory</name>
    <message>
        <source>借阅 %1 次,未还 %2 册,罚款合计 %3 元</source>
        <translation>%1 loans, %2 not returned, fines %3 yuan in all</translation>
    </message>
</context>
<context>
    <name>lendora::LoanHistoryDocument</name>
    <message>
        <source>读者借阅历史</source>
        <translation>Reader&apos;s Loan History</translation>
    </message>
    <message>
        <source>读者编号:%1  读者姓名:%2</source>
        <translation>Reader number: %1  Reader name: %2</translation>
    </message>
</context>
<context>
    <name>lendora::LoanQueryWindow</name>
    <message>
        <source>查询结果如下!!</source>
        <translation>Results:</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取!</source>
        <translation>The search failed: the database cannot be read!</translation>
    </message>
    <message>
        <source>借阅查询-%1.csv</source>
        <translation>Loan query-%1.csv</translation>
    </message>
</context>
<context>
    <name>lendora::LoanStatistics</name>
    <message>
        <source>(未知类别)</source>
        <translation>(unknown category)</translation>
    </message>
</context>
<context>
    <name>lendora::LoginWindow</name>
    <message>
        <source>点击此按钮更改您的帐号!</source>
        <translation>Click this button to change your account!</translation>
    </message>
    <message>
        <source>弹出菜单</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>更改我的帐号</source>
        <translation>Change My Account</translation>
    </message>
    <message>
        <source>帐号不存在!</source>
        <translation>No such account!</translation>
    </message>
    <message>
        <source>密码无效!请重新输入</source>
        <translation>Wrong password! Please enter it again</translation>
    </message>
    <message>
        <source>你尝试登入的次数太多!</source>
        <translation>Too many login attempts!</translation>
    </message>
    <message>
        <source>请输入旧的帐号密码:</source>
        <translation>Enter the old account&apos;s password:</translation>
    </message>
    <message>
        <source>旧的密码确认</source>
        <translation>Confirm Old Password</translation>
    </message>
    <message>
        <source>旧的密码确认错误,您不能更改帐号!</source>
        <translation>The old password is wrong; you cannot change the account!</translation>
    </message>
    <message>
        <source>请输入您要更改的用户名:</source>
        <translation>Enter the new user name:</translation>
    </message>
    <message>
        <source>添加用户</source>
        <translation>Add User</translation>
    </message>
    <message>
        <source>请输入您的密码:</source>
        <translation>Enter your password:</translation>
    </message>
    <message>
        <source>输入密码</source>
        <translation>Enter Password</translation>
    </message>
    <message>
        <source>密码不可以为空,请再输入!</source>
        <translation>The password cannot be empty; enter it again!</translation>
    </message>
    <message>
        <source>帐号更改成功!</source>
        <translation>The account has been changed!</translation>
    </message>
    <message>
        <source>你的用户名是:</source>
        <translation>Your user name is: </translation>
    </message>
    <message>
        <source>你的密码是:</source>
        <translation>Your password is: </translation>
    </message>
    <message>
        <source>用户名或密码含有不能保存的字符,帐号未更改!</source>
        <translation>The user name or the password holds characters that cannot be saved; the account was not changed!</translation>
    </message>
    <message>
        <source>无法写入帐号文件 dat/userdata.dat,帐号未更改!</source>
        <translation>Cannot write the account file dat/userdata.dat; the account was not changed!</translation>
    </message>
</context>
<context>
    <name>lendora::MainWindow</name>
    <message>
        <source>导出图书</source>
        <translation>Export Books</translation>
    </message>
    <message>
        <source>图书-%1.csv</source>
        <translation>Books-%1.csv</translation>
    </message>
    <message>
        <source>导出读者</source>
        <translation>Export Readers</translation>
    </message>
    <message>
        <source>读者-%1.csv</source>
        <translation>Readers-%1.csv</translation>
    </message>
    <message>
        <source>不正确的设定值!</source>
        <translation>Invalid setting!</translation>
    </message>
    <message>
        <source>文件 .\style\type-style.skn 不存在!</source>
        <translation>The file .\style\type-style.skn does not exist!</translation>
    </message>
    <message>
        <source>文件 \style\light-hearted.skn 不存在!</source>
        <translation>The file \style\light-hearted.skn does not exist!</translation>
    </message>
    <message>
        <source>界面风格文件 %1 无法读取!</source>
        <translation>The window style file %1 cannot be read!</translation>
    </message>
    <message>
        <source>帮助文件 readme.txt 未找到!</source>
        <translation>The help file readme.txt was not found!</translation>
    </message>
    <message>
        <source>无法打开帮助文件 readme.txt!</source>
        <translation>Cannot open the help file readme.txt!</translation>
    </message>
    <message>
        <source>界面语言将在下次启动程序时生效。</source>
        <translation>The interface language takes effect at the next start.</translation>
    </message>
    <message>
        <source>设置文件 %1 无法写入,界面语言没有改变。</source>
        <translation>The settings file %1 cannot be written; the interface language was not changed.</translation>
    </message>
    <message>
        <source>图书馆:%1</source>
        <translation>Library: %1</translation>
    </message>
</context>
<context>
    <name>lendora::NumberList</name>
    <message>
        <source>无法读取编号清单文件 %1。</source>
        <translation>Cannot read the list file %1.</translation>
    </message>
    <message>
        <source>编号清单文件 %1 不是 UTF-8 文本。</source>
        <translation>The list file %1 is not UTF-8 text.</translation>
    </message>
    <message>
        <source>编号清单文件 %1 中没有编号。</source>
        <translation>The list file %1 holds no number.</translation>
    </message>
</context>
<context>
    <name>lendora::OverdueCommand</name>
    <message>
        <source>截至某日(默认今天)逾期未还的图书: --csv 写逾期清单(&quot;-&quot; 为标准输出),
--pdf 写每位逾期读者一页的催还单; 两者都不给时清单写到标准输出。</source>
        <translation>Books overdue as of a day (today by default): --csv writes the overdue list (&quot;-&quot; for standard output),
--pdf writes a notice per overdue reader, one page each; without either, the list goes to standard output.</translation>
    </message>
    <message>
        <source>日期无效: %1(应为 yyyy-MM-dd)</source>
        <translation>Invalid date: %1 (yyyy-MM-dd)</translation>
    </message>
    <message>
        <source>选项 %1 缺少文件名</source>
        <translation>Option %1 lacks its file name</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有写入任何文件。</source>
        <translation>Cannot write the file %1; no file was written.</translation>
    </message>
    <message>
        <source>无法写入文件 %1。</source>
        <translation>Cannot write the file %1.</translation>
    </message>
    <message>
        <source>无法写入 PDF 文件 %1: %2</source>
        <translation>Cannot write the PDF file %1: %2</translation>
    </message>
    <message>
        <source>[--as-of yyyy-MM-dd] [--csv 文件] [--pdf 文件]</source>
        <translation>[--as-of yyyy-MM-dd] [--csv FILE] [--pdf FILE]</translation>
    </message>
</context>
<context>
    <name>lendora::OverdueList</name>
    <message>
        <source>没有有效的借书日期</source>
        <translation>no valid lending date</translation>
    </message>
    <message>
        <source>该书类别没有设定有效的借出天数</source>
        <translation>the book&apos;s category has no valid loan days</translation>
    </message>
    <message>
        <source>没有设定有效的罚款金额</source>
        <translation>no valid fine is set</translation>
    </message>
    <message>
        <source>天数超出范围</source>
        <translation>days out of range</translation>
    </message>
    <message>
        <source>该读者已删除</source>
        <translation>the reader has been deleted</translation>
    </message>
    <message>
        <source>该书已从书库删除</source>
        <translation>the book has been deleted from the catalogue</translation>
    </message>
    <message>
        <source>该书的类别已删除</source>
        <translation>the book&apos;s category has been deleted</translation>
    </message>
    <message>
        <source>%1；%2</source>
        <translation>%1; %2</translation>
    </message>
</context>
<context>
    <name>lendora::OverdueNotices</name>
    <message>
        <source>催还通知单</source>
        <translation>Overdue Notice</translation>
    </message>
    <message>
        <source>读者编号:%1
读者姓名:%2
所在部门:%3</source>
        <translation>Reader number: %1
Reader name: %2
Department: %3</translation>
    </message>
    <message>
        <source>您借阅的下列图书已超过应还日期,请尽快归还并交纳罚款。</source>
        <translation>The books below are past their due dates. Please return them soon and pay the fine.</translation>
    </message>
    <message>
        <source>罚款合计 %1 元</source>
        <translation>Fines in all: %1 yuan</translation>
    </message>
    <message>
        <source>截至 %1</source>
        <translation>As of %1</translation>
    </message>
    <message>
        <source>截至 %1,没有逾期未还的图书。</source>
        <translation>As of %1, no book is overdue.</translation>
    </message>
    <message>
        <source>书籍编号</source>
        <translation>Book No.</translation>
    </message>
    <message>
        <source>书籍名称</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>借书日期</source>
        <translation>Lent On</translation>
    </message>
    <message>
        <source>应还日期</source>
        <translation>Due On</translation>
    </message>
    <message>
        <source>超出天数</source>
        <translation>Days Over</translation>
    </message>
    <message>
        <source>应交罚款</source>
        <translation>Fine Due</translation>
    </message>
</context>
<context>
    <name>lendora::OverdueWindow</name>
    <message>
        <source>读者 %1 人,图书 %2 册,罚款合计 %3 元</source>
        <translation>%1 readers, %2 books, fines %3 yuan in all</translation>
    </message>
    <message>
        <source>逾期清单-%1.csv</source>
        <translation>Overdue list-%1.csv</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取!</source>
        <translation>The search failed: the database cannot be read!</translation>
    </message>
    <message>
        <source>没有逾期未还图书的读者,不需要打印催还单。</source>
        <translation>No reader has an overdue book; there are no notices to print.</translation>
    </message>
    <message>
        <source>催还单没有打印(已取消或打印失败)。</source>
        <translation>The notices were not printed (cancelled, or printing failed).</translation>
    </message>
    <message>
        <source>正在统计……</source>
        <translation>Counting……</translation>
    </message>
    <message>
        <source>,其中 %1 册的读者、图书或类别已删除</source>
        <translation>, of which %1 with their reader, book or category deleted</translation>
    </message>
</context>
<context>
    <name>lendora::QtPrintSink</name>
    <message>
        <source>找不到打印机 %1。</source>
        <translation>The printer %1 is not found.</translation>
    </message>
    <message>
        <source>打印机 %1 已停止,不能打印。</source>
        <translation>The printer %1 is stopped and cannot print.</translation>
    </message>
    <message>
        <source>%1
请在接下来的打印对话框中选择打印机。</source>
        <translation>%1
Choose a printer in the print dialog that follows.</translation>
    </message>
    <message>
        <source>没有打印出来:%1</source>
        <translation>Nothing was printed: %1</translation>
    </message>
    <message>
        <source>凭条没有打印出来:%1
请检查打印机后重印。</source>
        <translation>The receipt was not printed: %1
Check the printer, then print it again.</translation>
    </message>
    <message>
        <source>打印机 %1 报告出错。</source>
        <translation>The printer %1 reports an error.</translation>
    </message>
</context>
<context>
    <name>lendora::ReaderCardsWindow</name>
    <message>
        <source>请输入起止读者编号!</source>
        <translation>Enter the first and last reader numbers!</translation>
    </message>
    <message>
        <source>读者编号从 %1 到 %2 之间没有读者。</source>
        <translation>No reader has a number from %1 to %2.</translation>
    </message>
    <message>
        <source>请输入读者编号!</source>
        <translation>Enter the reader number!</translation>
    </message>
    <message>
        <source>请选择编号清单文件!</source>
        <translation>Choose a list file!</translation>
    </message>
    <message>
        <source>这些读者编号没有读者:%1
没有打印任何读者证。</source>
        <translation>No reader has these numbers: %1
No card was printed.</translation>
    </message>
    <message>
        <source>数据库无法读取,没有打印任何读者证。
%1</source>
        <translation>The database cannot be read; no card was printed.
%1</translation>
    </message>
    <message>
        <source>编号清单文件</source>
        <translation>List File</translation>
    </message>
    <message>
        <source>文本文件 (*.txt *.csv);;所有文件 (*)</source>
        <translation>Text files (*.txt *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>生成读者证</source>
        <translation>Making Reader Cards</translation>
    </message>
    <message>
        <source>读者证-%1.pdf</source>
        <translation>Reader cards-%1.pdf</translation>
    </message>
</context>
<context>
    <name>lendora::ReaderHistoryWindow</name>
    <message>
        <source>读者编号:%1  读者姓名:%2</source>
        <translation>Reader number: %1  Reader name: %2</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取!</source>
        <translation>The search failed: the database cannot be read!</translation>
    </message>
</context>
<context>
    <name>lendora::ReaderWindow</name>
    <message>
        <source>请输入读者编号!</source>
        <translation>Enter the reader number!</translation>
    </message>
    <message>
        <source>没有该读者信息!</source>
        <translation>No such reader!</translation>
    </message>
    <message>
        <source>读者资料查询失败!</source>
        <translation>The reader could not be looked up!</translation>
    </message>
    <message>
        <source>读者资料添加完毕</source>
        <translation>The reader has been added</translation>
    </message>
    <message>
        <source>读者资料添加失败!</source>
        <translation>The reader could not be added!</translation>
    </message>
    <message>
        <source>读者资料修改完毕!</source>
        <translation>The reader&apos;s details have been changed!</translation>
    </message>
    <message>
        <source>读者资料修改失败!</source>
        <translation>The reader&apos;s details could not be changed!</translation>
    </message>
    <message>
        <source>编号%1读者已删除!</source>
        <translation>Reader %1 has been deleted!</translation>
    </message>
    <message>
        <source>读者资料删除失败!</source>
        <translation>The reader could not be deleted!</translation>
    </message>
    <message>
        <source>该读者尚有未还图书,不能删除!</source>
        <translation>This reader still has books on loan and cannot be deleted!</translation>
    </message>
</context>
<context>
    <name>lendora::ReadmeWindow</name>
    <message>
        <source>使用帮助</source>
        <translation>Help Contents</translation>
    </message>
</context>
<context>
    <name>lendora::RenewalTab</name>
    <message>
        <source>续借完毕!</source>
        <translation>Renewed!</translation>
    </message>
    <message>
        <source>没有找到该借阅记录,请重新查询读者!</source>
        <translation>This loan was not found; look up the reader again!</translation>
    </message>
</context>
<context>
    <name>lendora::ReturnTab</name>
    <message>
        <source>归还完毕!</source>
        <translation>Returned!</translation>
    </message>
    <message>
        <source>该借阅记录没有有效的借书日期,无法计算罚款!</source>
        <translation>This loan has no valid lending date; the fine cannot be worked out!</translation>
    </message>
    <message>
        <source>该书类别没有设定有效的借出天数,请先在图书类别中设定!</source>
        <translation>The book&apos;s category has no valid loan days; set them in Book Categories first!</translation>
    </message>
    <message>
        <source>没有设定有效的罚款金额,请先在基本设置中设定!</source>
        <translation>No valid fine is set; set it in Basic Settings first!</translation>
    </message>
    <message>
        <source>天数超出范围(-32768 至 32767),无法计算罚款!</source>
        <translation>The days are out of range (-32768 to 32767); the fine cannot be worked out!</translation>
    </message>
</context>
<context>
    <name>lendora::SheetTexts</name>
    <message>
        <source>A4 标签纸 3×8(70×37 毫米)</source>
        <translation>A4 label sheet 3×8 (70×37 mm)</translation>
    </message>
    <message>
        <source>A4 标签纸 4×10(48.5×25.4 毫米)</source>
        <translation>A4 label sheet 4×10 (48.5×25.4 mm)</translation>
    </message>
    <message>
        <source>A4 标签纸 2×7(99.1×38.1 毫米)</source>
        <translation>A4 label sheet 2×7 (99.1×38.1 mm)</translation>
    </message>
    <message>
        <source>标签打印机 50×30 毫米</source>
        <translation>Label printer 50×30 mm</translation>
    </message>
    <message>
        <source>标签打印机 40×30 毫米</source>
        <translation>Label printer 40×30 mm</translation>
    </message>
    <message>
        <source>自定义标签纸</source>
        <translation>Custom sheet</translation>
    </message>
    <message>
        <source>证卡打印机(85.6×54 毫米,每页一张)</source>
        <translation>Card printer (85.6×54 mm, one a page)</translation>
    </message>
    <message>
        <source>A4 纸 2×5(每页 10 张,沿边框裁开)</source>
        <translation>A4 sheet 2×5 (ten a page, cut along the frames)</translation>
    </message>
    <message>
        <source>%1 等 %2 个</source>
        <translation>%1 and more, %2 in all</translation>
    </message>
    <message>
        <source> 毫米</source>
        <translation> mm</translation>
    </message>
</context>
<context>
    <name>lendora::SheetWindow</name>
    <message>
        <source>存为 PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>已保存到 %1。</source>
        <translation>Saved to %1.</translation>
    </message>
    <message>
        <source>没有保存 PDF 文件:%1</source>
        <translation>The PDF file was not saved: %1</translation>
    </message>
    <message>
        <source>已取消,没有打印。</source>
        <translation>Cancelled; nothing was printed.</translation>
    </message>
    <message>
        <source>已取消,没有保存 PDF 文件。</source>
        <translation>Cancelled; no PDF file was saved.</translation>
    </message>
    <message>
        <source>共 %1 张,%2 页。</source>
        <translation>%1 in all, %2 pages.</translation>
    </message>
    <message>
        <source>其中 %1 个编号含有 ASCII 以外的字符(如汉字),印成二维码(QR 码);其余印成 Code 128 条码。</source>
        <translation>%1 of the numbers hold characters beyond ASCII (Chinese, say) and are printed as QR codes; the others as Code 128 barcodes.</translation>
    </message>
    <message>
        <source>第 %1 页,共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>lendora::StartupChecks</name>
    <message>
        <source>电脑的日期(%1)早于数据库中最近的借还日期(%2)。
请检查并改正电脑的日期,否则借还日期和罚款会出错。</source>
        <translation>The computer&apos;s date (%1) is before the latest loan or return in the database (%2).
Check and correct the computer&apos;s date, or lending dates and fines will be wrong.</translation>
    </message>
    <message>
        <source>以下类别的代码不是一个字符,在图书窗口中不能选择:
%1
要把图书归入这些类别,请在“图书类别”中添加一个字符代码的类别代替它们。</source>
        <translation>These categories have a code of more than one character and cannot be chosen in the book windows:
%1
To file books under them, add categories with one-character codes in place of them under Book Categories.</translation>
    </message>
</context>
<context>
    <name>lendora::StatisticsDocument</name>
    <message>
        <source>借阅统计</source>
        <translation>Loan Statistics</translation>
    </message>
    <message>
        <source>统计期间:%1</source>
        <translation>Period: %1</translation>
    </message>
</context>
<context>
    <name>lendora::StatisticsViews</name>
    <message>
        <source>月份</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>借出册次</source>
        <translation>Loans</translation>
    </message>
    <message>
        <source>归还册次</source>
        <translation>Returns</translation>
    </message>
    <message>
        <source>类别代码</source>
        <translation>Category Code</translation>
    </message>
    <message>
        <source>书籍类别</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>借阅次数</source>
        <translation>Loans</translation>
    </message>
    <message>
        <source>占比</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>书籍编号</source>
        <translation>Book No.</translation>
    </message>
    <message>
        <source>书籍名称</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>读者编号</source>
        <translation>Reader No.</translation>
    </message>
    <message>
        <source>读者姓名</source>
        <translation>Reader Name</translation>
    </message>
    <message>
        <source>登记日期</source>
        <translation>Registered</translation>
    </message>
    <message>
        <source>藏书册数</source>
        <translation>Books</translation>
    </message>
    <message>
        <source>在借册数</source>
        <translation>On Loan</translation>
    </message>
    <message>
        <source>在借比例</source>
        <translation>Share on Loan</translation>
    </message>
    <message>
        <source>罚款金额</source>
        <translation>Fine</translation>
    </message>
</context>
<context>
    <name>lendora::StatisticsWindow</name>
    <message>
        <source>统计失败,数据库无法读取!</source>
        <translation>Counting failed: the database cannot be read!</translation>
    </message>
    <message>
        <source>起始日期不能晚于结束日期!</source>
        <translation>The start date cannot be after the end date!</translation>
    </message>
    <message>
        <source>统计范围: %1</source>
        <translation>Range: %1</translation>
    </message>
    <message>
        <source>正在统计……</source>
        <translation>Counting……</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>图片已保存到 %1。</source>
        <translation>Image saved to %1.</translation>
    </message>
    <message>
        <source>无法写入文件 %1,图片没有保存。</source>
        <translation>Cannot write the file %1; the image was not saved.</translation>
    </message>
</context>
<context>
    <name>lendora::StatsCommand</name>
    <message>
        <source>借阅统计: 默认为截至今天的最近 12 个月; 只给 --from 时统计到今天,
只给 --to 时为截至该日的 12 个月。不给 --csv 时摘要写到标准输出;
--csv 把每个统计表写成目录中的一个 CSV 文件(目录不存在时创建),
默认 UTF-8,--encoding gb18030 写成 GB18030。</source>
        <translation>Loan statistics: the last 12 months up to today by default; with --from alone, up to today,
with --to alone, the 12 months up to that day. Without --csv a summary goes to standard output;
--csv writes each table as a CSV file in the folder (made when missing),
UTF-8 by default, GB18030 with --encoding gb18030.</translation>
    </message>
    <message>
        <source>日期无效: %1(应为 yyyy-MM-dd)</source>
        <translation>Invalid date: %1 (yyyy-MM-dd)</translation>
    </message>
    <message>
        <source>起始日期 %1 晚于结束日期 %2</source>
        <translation>The start date %1 is after the end date %2</translation>
    </message>
    <message>
        <source>选项 --csv 缺少目录名</source>
        <translation>Option --csv lacks its folder name</translation>
    </message>
    <message>
        <source>编码无效: %1(应为 utf-8 或 gb18030)</source>
        <translation>Invalid encoding: %1 (utf-8 or gb18030)</translation>
    </message>
    <message>
        <source>--encoding 只用于 --csv</source>
        <translation>--encoding is for --csv only</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有写入任何文件。</source>
        <translation>Cannot write the file %1; no file was written.</translation>
    </message>
    <message>
        <source>无法在目录 %1 中写入文件,没有写入任何文件。</source>
        <translation>Cannot write files in the folder %1; no file was written.</translation>
    </message>
    <message>
        <source>无法创建目录 %1,没有写入任何文件。</source>
        <translation>Cannot create the folder %1; no file was written.</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有写入任何文件: %2</source>
        <translation>Cannot write the file %1; no file was written: %2</translation>
    </message>
    <message>
        <source>无法写入文件 %1,在它之前的文件已经写好,其余的没有写入。</source>
        <translation>Cannot write the file %1; the files before it were written, the rest were not.</translation>
    </message>
    <message>
        <source>统计范围: %1</source>
        <translation>Range: %1</translation>
    </message>
    <message>
        <source>[--from yyyy-MM-dd] [--to yyyy-MM-dd] [--csv 目录 [--encoding utf-8|gb18030]]</source>
        <translation>[--from yyyy-MM-dd] [--to yyyy-MM-dd] [--csv DIR [--encoding utf-8|gb18030]]</translation>
    </message>
</context>
<context>
    <name>lendora::TipsWindow</name>
    <message>
        <source>非法条目&gt; </source>
        <translation>Invalid entry&gt; </translation>
    </message>
    <message>
        <source>找不到所需字段</source>
        <translation>A required field is missing</translation>
    </message>
    <message>
        <source>读取时出错</source>
        <translation>Error while reading</translation>
    </message>
</context>
<context>
    <name>lendora::UpdateBookWindow</name>
    <message>
        <source>保存修改完毕!</source>
        <translation>Changes saved!</translation>
    </message>
    <message>
        <source>该书已不存在,无法保存!</source>
        <translation>This book no longer exists; it cannot be saved!</translation>
    </message>
    <message>
        <source>没有该书籍类别,请从列表中选择!</source>
        <translation>There is no such category; choose one from the list!</translation>
    </message>
    <message>
        <source>数据库拒绝了这次写入,书籍信息未修改!</source>
        <translation>The database refused this write; the book was not changed!</translation>
    </message>
</context>
<context>
    <name>lendora::YesNoColumn</name>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>lendora::cli::BackupCommands</name>
    <message>
        <source>把图书馆完整地复制到文件(先写临时文件再改名);桌面程序运行时也可以备份。</source>
        <translation>Copies the whole library into a file (a work file first, then renamed); also while a desk is running.</translation>
    </message>
    <message>
        <source>用备份文件替换图书馆的全部数据;先检查备份,并把当前数据备份到 backup/。
桌面程序正在使用这个图书馆时拒绝执行。</source>
        <translation>Replaces all the library&apos;s data with a backup file, after checking the backup and backing up the current data to backup/.
Refused while a desk program is using this library.</translation>
    </message>
    <message>
        <source>检查整个数据库文件,以及“已借出”标记与未还的借阅记录是否一致;发现问题时退出码为 1。</source>
        <translation>Checks the whole database file, and whether the lent flags agree with the open loans; exit status 1 when a problem is found.</translation>
    </message>
    <message>
        <source>缺少文件名</source>
        <translation>The file name is missing</translation>
    </message>
    <message>
        <source>无法写入文件 %1,没有写入任何文件。</source>
        <translation>Cannot write the file %1; no file was written.</translation>
    </message>
    <message>
        <source>桌面程序正在使用这个图书馆,请先退出程序再恢复。</source>
        <translation>A desk program is using this library; exit it before restoring.</translation>
    </message>
    <message>
        <source>不能用这个文件恢复,没有做任何改动: %1</source>
        <translation>This file cannot be restored from; nothing was changed: %1</translation>
    </message>
    <message>
        <source>这是图书馆的数据库文件本身,请给出一份备份。</source>
        <translation>This is the library&apos;s database file itself; give a backup.</translation>
    </message>
    <message>
        <source>已恢复;恢复前的数据保存在 %1</source>
        <translation>Restored; the data from before the restore is kept in %1</translation>
    </message>
    <message>
        <source>恢复没有完成,数据保持原样: %1</source>
        <translation>The restore did not finish; the data is as it was: %1</translation>
    </message>
    <message>
        <source>检查完毕,没有发现问题。</source>
        <translation>Check done; no problem found.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>FILE</translation>
    </message>
</context>
<context>
    <name>lendora::cli::Library</name>
    <message>
        <source>找不到数据库文件 %1,没有读取任何数据。</source>
        <translation>Cannot find the database file %1; nothing was read.</translation>
    </message>
    <message>
        <source>数据库正忙,请稍后再试: %1</source>
        <translation>The database is busy; please try again later: %1</translation>
    </message>
    <message>
        <source>查询失败,数据库无法读取: %1</source>
        <translation>The search failed: the database cannot be read: %1</translation>
    </message>
    <message>
        <source>无法打开数据库 %1: %2</source>
        <translation>Cannot open the database %1: %2</translation>
    </message>
</context>
<context>
    <name>lendora::cli::MigrateCommand</name>
    <message>
        <source>缺少 --to 地址</source>
        <translation>--to ADDRESS is missing</translation>
    </message>
    <message>
        <source>%1 的文字中含有服务器不能保存的空字符(NUL),没有移入任何数据。请先改正这一行。</source>
        <translation>The text of %1 holds a NUL character, which the server cannot store; nothing was moved. Correct that row first.</translation>
    </message>
    <message>
        <source>没有移入任何数据: %1</source>
        <translation>Nothing was moved: %1</translation>
    </message>
    <message>
        <source>核对不符: %1 在文件中有 %2 行,在服务器上有 %3 行,或者行的内容不同。</source>
        <translation>The check failed: %1 has %2 rows in the file and %3 on the server, or rows that differ.</translation>
    </message>
    <message>
        <source>已移到 %1: %2 行,每张表的行数与校验和都与文件一致。</source>
        <translation>Moved to %1: %2 rows; every table&apos;s row count and checksum equal the file&apos;s.</translation>
    </message>
    <message>
        <source>把图书馆的数据库文件整个移到 PostgreSQL 服务器上一个新建的空数据库(一个事务),
然后逐表核对行数与每一行的校验和;地址写成 postgresql://用户名@服务器:端口/数据库名。
--from 移入一份备份文件,而不是程序目录中的数据库文件(在服务器上恢复备份)。</source>
        <translation>Moves the whole library file into a new, empty database on a PostgreSQL server (one transaction),
then checks each table&apos;s row count and every row&apos;s checksum; the address is postgresql://user@server:port/database.
--from moves a backup file instead of the program folder&apos;s library file (a restore onto a server).</translation>
    </message>
</context>
</TS>
