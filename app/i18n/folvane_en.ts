<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CommandLine</name>
    <message>
        <source>用法: folvane [文件|文件夹...]

打开 Folvane 窗口: 一份有序的页面图片列表 (JPEG、TIFF、PNG), 每张图片
所成页面的预览, 以及把它们写成一份 PDF 的&quot;生成PDF&quot;。给出的文件按给出的
顺序组成开始时的列表; 文件夹给出其中的图片文件, 按名称排序。文件管理器的
&quot;打开方式&quot;就是这样启动它的。

选项:
  -h, --help      显示本说明
      --version   显示版本
  --              其后的一切都是文件, 以 &apos;-&apos; 开头的名称也是

folvane-pdf(1) 在命令行上生成同样的 PDF。
</source>
        <translation>usage: folvane [FILE|FOLDER...]

Opens the Folvane window: an ordered list of page images (JPEG, TIFF, PNG), a
preview of the page each becomes, and &quot;Make PDF&quot;, which writes them into one PDF.
The files given start the list in the order given; a folder gives its image
files, ordered by name. A file manager&apos;s &quot;Open with&quot; starts it this way.

Options:
  -h, --help      show this text
      --version   show the version
  --              everything after it is a file, also a name starting with &apos;-&apos;

folvane-pdf(1) makes the same PDF from the command line.
</translation>
    </message>
    <message>
        <source>folvane: 未知选项 %1
用 &apos;folvane --help&apos; 查看用法。
</source>
        <translation>folvane: unknown option %1
Try &apos;folvane --help&apos; for more.
</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>查看图片</source>
        <translation>View image</translation>
    </message>
    <message>
        <source>生成PDF</source>
        <translation>Make PDF</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>文字识别</source>
        <translation>Recognise text</translation>
    </message>
    <message>
        <source>清空列表</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>图片类型</source>
        <translation>Image type</translation>
    </message>
    <message>
        <source>存放路径:</source>
        <translation>Save to:</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>添加图片</source>
        <translation>Add images</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>置顶</source>
        <translation>To top</translation>
    </message>
    <message>
        <source>置底</source>
        <translation>To bottom</translation>
    </message>
    <message>
        <source>重新排序</source>
        <translation>Sort by name</translation>
    </message>
    <message>
        <source>200万</source>
        <translation>2 MP</translation>
    </message>
    <message>
        <source>300万</source>
        <translation>3 MP</translation>
    </message>
    <message>
        <source>500万</source>
        <translation>5 MP</translation>
    </message>
    <message>
        <source>800万</source>
        <translation>8 MP</translation>
    </message>
    <message>
        <source>1000万</source>
        <translation>10 MP</translation>
    </message>
    <message>
        <source>1600万</source>
        <translation>16 MP</translation>
    </message>
    <message>
        <source>适应页面</source>
        <translation>Fit to page</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>把扫描或拍摄的页面图片合成一份 PDF</source>
        <translation>Makes one PDF of scanned or photographed pages</translation>
    </message>
    <message>
        <source>资料修改</source>
        <translation>Open image</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>清空列表 (Ctrl+Z 恢复)</source>
        <translation>Clear the list (Ctrl+Z brings it back)</translation>
    </message>
    <message>
        <source>文档校正</source>
        <translation>Document correction</translation>
    </message>
    <message>
        <source>调整边角</source>
        <translation>Adjust corners</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>Folvane %1 版</source>
        <translation>Folvane version %1</translation>
    </message>
    <message>
        <source>关于 Folvane</source>
        <translation>About Folvane</translation>
    </message>
    <message>
        <source>关于 Folvane(&amp;A)...</source>
        <translation>&amp;About Folvane...</translation>
    </message>
    <message>
        <source>加密</source>
        <translation>Encrypt</translation>
    </message>
    <message>
        <source>纸张</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>A3</source>
        <translation>A3</translation>
    </message>
    <message>
        <source>A5</source>
        <translation>A5</translation>
    </message>
    <message>
        <source>B5</source>
        <translation>B5</translation>
    </message>
    <message>
        <source>美国信纸</source>
        <translation>US Letter</translation>
    </message>
    <message>
        <source>美国法律用纸</source>
        <translation>US Legal</translation>
    </message>
    <message>
        <source>与图片相同</source>
        <translation>Same as image</translation>
    </message>
    <message>
        <source>文档属性...</source>
        <translation>Document properties...</translation>
    </message>
    <message>
        <source>文档属性</source>
        <translation>Document Properties</translation>
    </message>
    <message>
        <source>标题:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>作者:</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>主题:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>关键词:</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>这些属性写入保存到上面路径的 PDF; 换了存放路径就要重新填写。</source>
        <translation>These properties go into the PDF saved at the path shown; after choosing another path, fill them in again.</translation>
    </message>
    <message>
        <source>跳过空白页</source>
        <translation>Skip blank pages</translation>
    </message>
    <message>
        <source>在空白页处分成多个文件</source>
        <translation>Split into files at blank pages</translation>
    </message>
    <message>
        <source>空白页作为分隔页, 不放入文件; 其间的页面各存为“名称-001.pdf”、“名称-002.pdf”……</source>
        <translation>Blank pages are separator sheets and go into no file; the pages between them are saved as “name-001.pdf”, “name-002.pdf”, …</translation>
    </message>
    <message>
        <source>书本分两页</source>
        <translation>Split open books</translation>
    </message>
    <message>
        <source>照片拍的是打开的书时, 在书脊处分开, 左右两页各成一页 (随“文档校正”)</source>
        <translation>A photo of an open book is cut at the spine into its two pages (with “Document correction”)</translation>
    </message>
    <message>
        <source>从右到左</source>
        <translation>Right to left</translation>
    </message>
    <message>
        <source>从右往左读的书: 右页在前, 左页在后</source>
        <translation>Books read from right to left: the right page first, then the left</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source> 或 </source>
        <translation> or </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法打开文件“%1”%2</source>
        <translation>Cannot open the file &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>无法读取文件“%1”%2</source>
        <translation>Cannot read the file &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>“%1”不是 %2 图片（文件是空的）</source>
        <translation>&quot;%1&quot; is not a %2 image (the file is empty)</translation>
    </message>
    <message>
        <source>“%1”不是 %2 图片</source>
        <translation>&quot;%1&quot; is not a %2 image</translation>
    </message>
    <message>
        <source>“%1”不是完好的 %2 文件%3</source>
        <translation>&quot;%1&quot; is not a well-formed %2 file%3</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>image</translation>
    </message>
    <message>
        <source>“%1”不完整, 文件提前结束%2</source>
        <translation>&quot;%1&quot; is truncated: the file ends early%2</translation>
    </message>
    <message>
        <source>“%1”这种图片无法放入PDF%2</source>
        <translation>&quot;%1&quot; is a kind of picture a PDF cannot hold%2</translation>
    </message>
    <message>
        <source>“%1”没有第 %2 页（共 %3 页）</source>
        <translation>&quot;%1&quot; has no page %2 (it has %3)</translation>
    </message>
    <message>
        <source>内部错误%1</source>
        <translation>Internal error%1</translation>
    </message>
    <message>
        <source>无法创建文件“%1”%2</source>
        <translation>Cannot create the file &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>无法把文件“%1”写入磁盘%2</source>
        <translation>Cannot write the file &quot;%1&quot; to disk%2</translation>
    </message>
    <message>
        <source>无法把完成的文件改名为“%1”%2</source>
        <translation>Cannot rename the finished file to &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>无法写入文件“%1”%2</source>
        <translation>Cannot write the file &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>文字识别: “%1”不是用“+”连接的语言名称（例如 chi_sim+eng）</source>
        <translation>Text recognition: &quot;%1&quot; is not a list of language names joined by &quot;+&quot; (like chi_sim+eng)</translation>
    </message>
    <message>
        <source>文字识别: 语言“%1”的数据没有安装, 请安装 Debian 软件包 %2</source>
        <translation>Text recognition: the data for the language &quot;%1&quot; is not installed; install the Debian package %2</translation>
    </message>
    <message>
        <source>文字识别失败%1</source>
        <translation>Text recognition failed%1</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>图片太大, 超过 %1 MiB%2</source>
        <translation>The image is too large: more than %1 MiB%2</translation>
    </message>
    <message>
        <source>文档超过了 PDF 文件所能容纳的 10 GB</source>
        <translation>The document exceeds the 10 GB a PDF file can hold</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>输出文件“%1”就是输入图片“%2”, 请选择另一个输出文件</source>
        <translation>The output file &quot;%1&quot; is the input image &quot;%2&quot;; choose another output file</translation>
    </message>
    <message>
        <source>%1% 超出页面</source>
        <translation>%1% lies outside the page</translation>
    </message>
    <message>
        <source>已修复损坏的 JPEG%1</source>
        <translation>Damaged JPEG repaired%1</translation>
    </message>
    <message>
        <source>已忽略颜色配置文件, 使用设备颜色%1</source>
        <translation>Colour profile ignored, device colours used%1</translation>
    </message>
    <message>
        <source>第 4 版 ICC 颜色配置文件写入了 PDF 1.%1, 不支持第 4 版的阅读器显示设备颜色</source>
        <translation>ICC version 4 colour profile written into a PDF 1.%1; readers without version 4 support show device colours</translation>
    </message>
    <message>
        <source>传真数据已重新编码为 G4, 原数据会被 PDF 阅读器误读%1</source>
        <translation>Fax data re-encoded as G4, since PDF readers would misread it%1</translation>
    </message>
    <message>
        <source>原样嵌入</source>
        <translation>embedded as it is</translation>
    </message>
    <message>
        <source>修复后嵌入</source>
        <translation>repaired, then embedded</translation>
    </message>
    <message>
        <source>无损重新压缩</source>
        <translation>recompressed losslessly</translation>
    </message>
    <message numerus="yes">
        <source>%1 %2x%3, %4, %n 页</source>
        <translation>
            <numerusform>%1 %2x%3, %4, %n page</numerusform>
            <numerusform>%1 %2x%3, %4, %n pages</numerusform>
        </translation>
    </message>
    <message>
        <source>照片中没有找到纸张, 照片按原样放入</source>
        <translation>No sheet was found in the photo; it goes in as it is</translation>
    </message>
    <message>
        <source>无法校正这一页, 按原样放入%1</source>
        <translation>This page cannot be corrected; it goes in as it is%1</translation>
    </message>
    <message>
        <source>边角已手动调整</source>
        <translation>Corners placed by hand</translation>
    </message>
    <message>
        <source>已找到纸张</source>
        <translation>Sheet found</translation>
    </message>
    <message>
        <source>未找到纸张，将按原样放入</source>
        <translation>No sheet found: the photo goes in as it is</translation>
    </message>
    <message>
        <source>“%1”有 %2 x %3 像素, 超过 PDF 阅读器能显示的每边 %4 像素</source>
        <translation>“%1” is %2 x %3 pixels, too large for PDF viewers (at most %4 pixels a side)</translation>
    </message>
    <message>
        <source>“%1”声称有 %2 像素, 但它的 %3 字节图像数据容纳不下</source>
        <translation>“%1” claims %2 pixels, more than its %3 bytes of image data can hold</translation>
    </message>
    <message>
        <source>%1 位的颜色值以 8 位写入%2</source>
        <translation>%1-bit samples written with 8 bits%2</translation>
    </message>
    <message>
        <source>“%1”不是普通文件（而是管道、设备或套接字）</source>
        <translation>“%1” is not a regular file (a pipe, a device or a socket)</translation>
    </message>
    <message>
        <source>“%1”有 %2 x %3 像素, 超过 JPEG 解码器能读的每边 %4 像素</source>
        <translation>“%1” is %2 x %3 pixels, more than JPEG decoders read (at most %4 pixels a side)</translation>
    </message>
    <message>
        <source>无法加载文字识别引擎模块 %1%2</source>
        <translation>The text recognition module %1 cannot be loaded%2</translation>
    </message>
    <message>
        <source>%1 不是这个版本的文字识别引擎模块</source>
        <translation>%1 is not a text recognition module of this version</translation>
    </message>
    <message>
        <source>文字识别引擎模块 %1 无法启动</source>
        <translation>The text recognition module %1 failed to start</translation>
    </message>
    <message>
        <source>文字识别: 无法从 %2 加载语言“%1”的数据</source>
        <translation>Text recognition: the data for “%1” in %2 cannot be loaded</translation>
    </message>
    <message>
        <source>文字识别在一页 %1 x %2 像素的图片上失败%3</source>
        <translation>Text recognition failed on a page of %1 x %2 pixels%3</translation>
    </message>
    <message>
        <source>内存不足, 无法校正这一页, 按原样放入</source>
        <translation>This page cannot be corrected: out of memory; it goes in as it is</translation>
    </message>
    <message>
        <source>手动调整的边角构不成一张纸, 按原样放入%1</source>
        <translation>The corners placed by hand make no sheet; it goes in as it is%1</translation>
    </message>
    <message>
        <source>无法加载文档校正模块, 按原样放入%1</source>
        <translation>The document correction module cannot be loaded; the page goes in as it is%1</translation>
    </message>
    <message>
        <source>%1 不是这个版本的文档校正模块, 按原样放入</source>
        <translation>%1 is not a document correction module of this version; the page goes in as it is</translation>
    </message>
    <message>
        <source>照片中有两张纸, 照片按原样放入</source>
        <translation>Two sheets were found in the photo; it goes in as it is</translation>
    </message>
    <message>
        <source>照片中有两张纸，将按原样放入</source>
        <translation>Two sheets in the photo: it goes in as it is</translation>
    </message>
    <message>
        <source>已向右旋转</source>
        <translation>turned right</translation>
    </message>
    <message>
        <source>已旋转 180°</source>
        <translation>turned 180°</translation>
    </message>
    <message>
        <source>已向左旋转</source>
        <translation>turned left</translation>
    </message>
    <message>
        <source>已裁剪</source>
        <translation>cropped</translation>
    </message>
    <message>
        <source>校正后放入(黑白为 G4, 有颜色为混合光栅, 或整页 JPEG)</source>
        <translation>corrected (G4 for black and white, mixed raster with colour, or the whole page as JPEG)</translation>
    </message>
    <message>
        <source>需要密码</source>
        <translation>a password is needed</translation>
    </message>
    <message>
        <source>密码错误</source>
        <translation>wrong password</translation>
    </message>
    <message>
        <source>超过 %1 页</source>
        <translation>more than %1 pages</translation>
    </message>
    <message numerus="yes">
        <source>PDF, %n 页, 原样复制</source>
        <translation>
            <numerusform>PDF, %n page, copied as it is</numerusform>
            <numerusform>PDF, %n pages, copied as they are</numerusform>
        </translation>
    </message>
    <message>
        <source>文档校正不适用于 PDF 的页面</source>
        <translation>Document correction does not apply to pages of a PDF</translation>
    </message>
    <message>
        <source>“%1”已加密, 需要密码才能打开</source>
        <translation>“%1” is encrypted: it needs its password to open</translation>
    </message>
    <message>
        <source>密码不对, 无法打开“%1”</source>
        <translation>the password does not open “%1”</translation>
    </message>
    <message>
        <source>“%1”是损坏的 PDF, 无法读取%2</source>
        <translation>“%1” is a damaged PDF that cannot be read%2</translation>
    </message>
    <message>
        <source>“%1”是损坏的 PDF, 已尽量读出%2</source>
        <translation>“%1” is a damaged PDF, read all the same%2</translation>
    </message>
    <message>
        <source>每一页都是空白页（跳过了 %1 页）, 没有生成“%2”</source>
        <translation>Every page is blank (%1 skipped): “%2” was not made</translation>
    </message>
    <message>
        <source>“%1”是一个文件夹, 不能保存为文件</source>
        <translation>“%1” is a folder and cannot be saved as a file</translation>
    </message>
    <message>
        <source>“%1”已存在且您无权修改它, 不会替换它</source>
        <translation>“%1” exists and you may not change it: it is not replaced</translation>
    </message>
    <message>
        <source>无法在文件夹“%1”中创建临时文件夹%2</source>
        <translation>Cannot create a temporary folder in “%1”%2</translation>
    </message>
    <message>
        <source>保存前无法保留原有的“%1”%2</source>
        <translation>Cannot keep the existing “%1” while saving%2</translation>
    </message>
    <message>
        <source>无法保存“%1”%2</source>
        <translation>Cannot save “%1”%2</translation>
    </message>
</context>
<context>
    <name>Password</name>
    <message>
        <source>加密</source>
        <translation>Encrypt</translation>
    </message>
    <message>
        <source>PDF 用 AES-256 加密, 只有输入密码才能打开。密码不会被保存。</source>
        <translation>The PDF is encrypted with AES-256 and opens only with a password. Passwords are not saved.</translation>
    </message>
    <message>
        <source>打开密码:</source>
        <translation>Password to open:</translation>
    </message>
    <message>
        <source>确认打开密码:</source>
        <translation>Confirm password:</translation>
    </message>
    <message>
        <source>所有者密码:</source>
        <translation>Owner password:</translation>
    </message>
    <message>
        <source>可不填: 用所有者密码打开时不受下面的限制</source>
        <translation>Optional: opens the PDF without the limits below</translation>
    </message>
    <message>
        <source>允许打印</source>
        <translation>Allow printing</translation>
    </message>
    <message>
        <source>允许复制文字和图片</source>
        <translation>Allow copying text and pictures</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入打开密码。</source>
        <translation>Enter a password to open the PDF.</translation>
    </message>
    <message>
        <source>两次输入的打开密码不一致。</source>
        <translation>The two passwords to open do not match.</translation>
    </message>
    <message>
        <source>密码太长: 最多 127 字节（约 42 个汉字）。</source>
        <translation>The password is too long: at most 127 bytes (about 42 Chinese characters).</translation>
    </message>
    <message>
        <source>密码不能含有控制字符。</source>
        <translation>A password cannot hold control characters.</translation>
    </message>
    <message>
        <source>所有者密码必须与打开密码不同。</source>
        <translation>The owner password must differ from the password to open.</translation>
    </message>
</context>
<context>
    <name>QtDialog</name>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>扫描仪:</source>
        <translation>Scanner:</translation>
    </message>
    <message>
        <source>来源:</source>
        <translation>Source:</translation>
    </message>
    <message>
        <source>模式:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>分辨率:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>纸张大小:</source>
        <translation>Page size:</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>扫描的页面保存在 %1 中</source>
        <translation>Scanned pages are saved in %1</translation>
    </message>
    <message>
        <source>正在查找扫描仪...</source>
        <translation>Looking for scanners...</translation>
    </message>
    <message>
        <source>未找到扫描仪</source>
        <translation>No scanner found</translation>
    </message>
    <message>
        <source>%1 %2 (%3)</source>
        <translation>%1 %2 (%3)</translation>
    </message>
    <message>
        <source>平板</source>
        <translation>Flatbed</translation>
    </message>
    <message>
        <source>自动进纸器</source>
        <translation>Document feeder</translation>
    </message>
    <message>
        <source>自动进纸器(双面)</source>
        <translation>Document feeder (both sides)</translation>
    </message>
    <message>
        <source>彩色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>灰度</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>黑白</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>%1 dpi</source>
        <translation>%1 dpi</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>整个扫描区域</source>
        <translation>Whole scan area</translation>
    </message>
    <message>
        <source>扫描仪默认</source>
        <translation>Scanner default</translation>
    </message>
    <message>
        <source>正在打开扫描仪...</source>
        <translation>Opening the scanner...</translation>
    </message>
    <message>
        <source>正在扫描第 %1 页</source>
        <translation>Scanning page %1</translation>
    </message>
    <message>
        <source>保存到 %1</source>
        <translation>Saving to %1</translation>
    </message>
    <message>
        <source>进纸器已空, 已扫描 %1 页。
放入更多页面后选&quot;继续扫描&quot;; 没有了就选&quot;完成&quot;。</source>
        <translation>The feeder is empty; %1 pages were scanned.
Put in more pages and choose &quot;Scan more&quot;, or choose &quot;Done&quot; if there are no more.</translation>
    </message>
    <message>
        <source>继续扫描</source>
        <translation>Scan more</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>扫描失败</source>
        <translation>Scan failed</translation>
    </message>
    <message>
        <source>扫描第 %1 页时失败</source>
        <translation>Failed while scanning page %1</translation>
    </message>
    <message>
        <source>已扫描的 %1 页已加入列表, 文件在 %2</source>
        <translation>The %1 pages scanned were added to the list; the files are in %2</translation>
    </message>
    <message>
        <source>没有找到扫描仪。</source>
        <translation>No scanner was found.</translation>
    </message>
    <message>
        <source>没有找到扫描仪“%1”。</source>
        <translation>The scanner “%1” was not found.</translation>
    </message>
    <message>
        <source>请检查: 扫描仪已连好并打开了电源; 您有权使用它(在 Debian 上要属于 scanner 组: sudo adduser $USER scanner, 然后重新登录); 网络扫描仪要在 /etc/sane.d/net.conf 中写上运行 saned 的计算机, 并且那里的 saned 允许本机使用。</source>
        <translation>Check that the scanner is connected and switched on; that you may use it (on Debian, as a member of the scanner group: sudo adduser $USER scanner, then log in again); and, for a network scanner, that /etc/sane.d/net.conf names the computer running saned and that saned there lets this computer in.</translation>
    </message>
    <message>
        <source>扫描仪正忙, 可能正被别的程序使用; 请等它空闲后再试。</source>
        <translation>The scanner is busy, perhaps in use by another program; try again when it is free.</translation>
    </message>
    <message>
        <source>进纸器里没有纸: 请放入页面后再扫描。</source>
        <translation>The feeder is empty: put pages in it, then scan.</translation>
    </message>
    <message>
        <source>进纸器卡纸: 请取出卡住的纸, 再扫描其余的页面。</source>
        <translation>Paper jam in the feeder: take the jammed sheet out, then scan the remaining pages.</translation>
    </message>
    <message>
        <source>扫描仪的盖子开着: 请合上后再扫描。</source>
        <translation>The scanner&apos;s cover is open: close it and scan again.</translation>
    </message>
    <message>
        <source>扫描仪没有回应(输入输出错误): 请检查它的数据线或网络连接。</source>
        <translation>The scanner does not answer (input/output error): check its cable or network connection.</translation>
    </message>
    <message>
        <source>无权使用扫描仪: 您可能没有使用这个设备的权限(在 Debian 上要属于 scanner 组), 或者它要密码。</source>
        <translation>Not allowed to use the scanner: you may lack the permission to use this device (on Debian, membership of the scanner group), or it wants a password.</translation>
    </message>
    <message>
        <source>扫描仪的驱动程序内存不足。</source>
        <translation>The scanner&apos;s driver ran out of memory.</translation>
    </message>
    <message>
        <source>扫描已取消。</source>
        <translation>The scan was cancelled.</translation>
    </message>
    <message>
        <source>扫描仪不接受这些设置。</source>
        <translation>The scanner does not accept these settings.</translation>
    </message>
    <message>
        <source>扫描仪的选项“%1”不接受“%2”。</source>
        <translation>The scanner&apos;s option “%1” does not accept “%2”.</translation>
    </message>
    <message>
        <source>扫描仪不接受选项“%1”的设置。</source>
        <translation>The scanner does not accept the setting of its option “%1”.</translation>
    </message>
    <message>
        <source>无法写入页面文件“%1”。</source>
        <translation>Cannot write the page file “%1”.</translation>
    </message>
    <message>
        <source>扫描失败。</source>
        <translation>The scan failed.</translation>
    </message>
    <message>
        <source>纸张（%1 x %2 毫米）比扫描仪的扫描区域（%3 x %4 毫米）大, 只扫描扫描仪上的部分</source>
        <translation>The paper (%1 x %2 mm) is larger than the scanner&apos;s area (%3 x %4 mm); only the part on the scanner is scanned.</translation>
    </message>
    <message>
        <source>无法扫描: 无法加载扫描模块 %1。</source>
        <translation>Scanning is not available: the scanning module %1 cannot be loaded.</translation>
    </message>
    <message>
        <source>无法扫描: %1 不是这个版本的扫描模块。</source>
        <translation>Scanning is not available: %1 is not a scanning module of this version.</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>单面进纸器扫描双面</source>
        <translation>Both sides with a one-sided feeder</translation>
    </message>
    <message>
        <source>先扫描所有正面, 再把整叠纸翻过来扫描背面, 然后按正面、背面的顺序排好</source>
        <translation>Scans all the fronts, then the backs with the stack turned over, and puts each back after its front</translation>
    </message>
    <message>
        <source>正面已扫描完, 共 %1 页。
请把整叠纸翻过来, 原样放回进纸器, 然后选&quot;扫描背面&quot;。</source>
        <translation>The fronts are scanned: %1 pages.
Turn the whole stack over, put it back in the feeder as it is, then choose &quot;Scan backs&quot;.</translation>
    </message>
    <message>
        <source>扫描背面</source>
        <translation>Scan backs</translation>
    </message>
    <message>
        <source>不扫描背面</source>
        <translation>No backs</translation>
    </message>
    <message>
        <source>正面扫描了 %1 页, 背面扫描了 %2 页, 页数不同, 所以没有合并。
扫描的页面都按扫描的顺序留在列表中, 可以手动调整。</source>
        <translation>%1 fronts and %2 backs were scanned: the counts differ, so they were not merged.
Every scanned page stays in the list in the order scanned, to be put in order by hand.</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>系统提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>您还没有图片！
请先添加图片文件!</source>
        <translation>There are no images yet.
Add image files first.</translation>
    </message>
    <message>
        <source>请先选择一张再操作!</source>
        <translation>Select an image first.</translation>
    </message>
    <message>
        <source>已经位于第一行!</source>
        <translation>This is already the first row.</translation>
    </message>
    <message>
        <source>已经位于最末行!</source>
        <translation>This is already the last row.</translation>
    </message>
    <message>
        <source>请先设置存放路径!</source>
        <translation>Choose where to save the PDF first.</translation>
    </message>
    <message>
        <source>操作成功!</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>操作失败!请重启后再试!</source>
        <translation>The PDF could not be made.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message numerus="yes">
        <source>%n 页图片超出页面(最多 %1%)</source>
        <translation>
            <numerusform>%n page reaches past the page edge (up to %1%)</numerusform>
            <numerusform>%n pages reach past the page edge (up to %1%)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1
超出页面的部分不会出现在PDF中。
选&quot;适应页面&quot;可把每张图片整张缩放到页面上。</source>
        <translation>%1
What lies past the edge will not be in the PDF.
Choose &quot;Fit to page&quot; to scale each whole image onto its page.</translation>
    </message>
    <message>
        <source>适应页面</source>
        <translation>Fit to page</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
    <message numerus="yes">
        <source>共 %n 页, 已保存到 %1</source>
        <translation>
            <numerusform>%n page saved to %1</numerusform>
            <numerusform>%n pages saved to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>共 %n 页, 已保存到 %1; 其中 %2</source>
        <translation>
            <numerusform>%n page saved to %1; %2</numerusform>
            <numerusform>%n pages saved to %1; of them, %2</numerusform>
        </translation>
    </message>
    <message>
        <source>无法打开 %1
桌面上没有能打开这种文件的程序。</source>
        <translation>Cannot open %1
The desktop has no program that opens this kind of file.</translation>
    </message>
    <message numerus="yes">
        <source>列表中有 %n 张图片, 确定退出吗?</source>
        <translation>
            <numerusform>The list holds %n image. Exit all the same?</numerusform>
            <numerusform>The list holds %n images. Exit all the same?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>列表中有 %n 张图片无法使用:</source>
        <translation>
            <numerusform>%n image in the list cannot be used:</numerusform>
            <numerusform>%n images in the list cannot be used:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>……</source>
        <translation>...</translation>
    </message>
    <message numerus="yes">
        <source>跳过它们, 用其余 %n 张图片生成PDF吗?</source>
        <translation>
            <numerusform>Skip them and make the PDF of the other image?</numerusform>
            <numerusform>Skip them and make the PDF of the other %n images?</numerusform>
        </translation>
    </message>
    <message>
        <source>生成PDF</source>
        <translation>Make PDF</translation>
    </message>
    <message>
        <source>第 %1 / %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>文字识别: %1</source>
        <translation>Recognising text: %1</translation>
    </message>
    <message>
        <source>%1 第 %2 页</source>
        <translation>%1, page %2</translation>
    </message>
    <message>
        <source>选择一个或者多个JPG文件</source>
        <translation>Choose one or more images</translation>
    </message>
    <message>
        <source>JPG,TIF,PNG,PDF文件(*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.pdf)</source>
        <translation>JPEG, TIFF and PNG images, PDF files (*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.pdf)</translation>
    </message>
    <message>
        <source>PDF文件 (*.PDF)</source>
        <translation>PDF files (*.PDF)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>图片文件</source>
        <translation>Image file</translation>
    </message>
    <message>
        <source>无法显示.bmp</source>
        <translation>no-preview.bmp</translation>
    </message>
    <message>
        <source>调整边角</source>
        <translation>Adjust corners</translation>
    </message>
    <message>
        <source>把四个圆点拖到纸张的四个角上; 右边是校正后的页面。</source>
        <translation>Drag the four dots onto the corners of the sheet; the corrected page is on the right.</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>无法打开 %1 来调整边角。</source>
        <translation>Cannot open %1 to adjust its corners.</translation>
    </message>
    <message>
        <source>这四个角围不成一页纸, 边角没有改变。</source>
        <translation>These four corners do not enclose a page; the corners stay as they were.</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清空列表</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>按名称排序</source>
        <translation>Sort by name</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>裁剪</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Reset edits</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>撤销%1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>重做%1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>向左旋转</source>
        <translation>Rotate left</translation>
    </message>
    <message>
        <source>向右旋转</source>
        <translation>Rotate right</translation>
    </message>
    <message>
        <source>拖动方框的边和角, 框出要保留的部分; 方框里按住可整体移动。方向键微调, 按住 Shift 移得更多。</source>
        <translation>Drag the edges and corners of the frame around the part to keep; drag inside it to move it all. The arrow keys move it a little, with Shift more.</translation>
    </message>
    <message>
        <source>整页</source>
        <translation>Whole page</translation>
    </message>
    <message>
        <source>裁剪后的页面太小: 宽和高都至少要 %1 像素。</source>
        <translation>The cropped page is too small: it must be at least %1 pixels wide and high.</translation>
    </message>
    <message>
        <source>裁剪的方框要在图片之内。</source>
        <translation>The crop frame must lie inside the picture.</translation>
    </message>
    <message>
        <source>无法打开 %1 来裁剪。</source>
        <translation>Cannot open %1 to crop it.</translation>
    </message>
    <message>
        <source>这四个角围不成一页纸: 请把圆点分别拖到纸张的四个角上, 边线不要交叉。</source>
        <translation>These four corners do not enclose a page: drag each dot onto its own corner of the sheet, without crossing the edges.</translation>
    </message>
    <message>
        <source>%1 第 %2/%3 页</source>
        <translation>%1 page %2/%3</translation>
    </message>
    <message>
        <source>输入密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>“%1”有打开密码保护。
请输入它的密码:</source>
        <translation>“%1” is protected by an open password.
Please enter its password:</translation>
    </message>
    <message>
        <source>文档校正不适用于 PDF 的页面: 它原样放入, 无需调整边角。</source>
        <translation>Document correction does not apply to pages of a PDF: they go in as they are, with no corners to place.</translation>
    </message>
    <message>
        <source>双面合并</source>
        <translation>Merge duplex</translation>
    </message>
    <message>
        <source>双面合并需要偶数页: 先是各页的正面, 再是倒序的背面。列表中有 %1 页, 正面和背面的页数对不上, 列表没有改变。</source>
        <translation>Merge duplex needs an even number of pages: all the fronts, then the backs in reverse order. The list holds %1 pages, so fronts and backs cannot pair; the list was not changed.</translation>
    </message>
    <message>
        <source>%1太长: 最多 %2 个字。</source>
        <translation>The %1 is too long: at most %2 characters.</translation>
    </message>
    <message>
        <source>%1含有控制字符(换行、制表符等), PDF 阅读器会显示成乱码。</source>
        <translation>The %1 holds a control character (a line break, a tab, ...), which PDF readers show as garbage.</translation>
    </message>
    <message>
        <source>%1不是有效的 UTF-8 文字, PDF 阅读器会显示成乱码。</source>
        <translation>The %1 is not valid UTF-8 text, which PDF readers show as garbage.</translation>
    </message>
    <message>
        <source>标题</source>
        <translation>title</translation>
    </message>
    <message>
        <source>作者</source>
        <translation>author</translation>
    </message>
    <message>
        <source>主题</source>
        <translation>subject</translation>
    </message>
    <message>
        <source>关键词</source>
        <translation>keywords</translation>
    </message>
    <message>
        <source>【空白页】%1</source>
        <translation>[Blank] %1</translation>
    </message>
    <message>
        <source>空白页: 上面没有任何内容; 勾选“跳过空白页”时不放入 PDF</source>
        <translation>Blank page: nothing is on it; with “Skip blank pages” ticked it stays out of the PDF</translation>
    </message>
    <message numerus="yes">
        <source>跳过了 %n 个空白页</source>
        <translation>
            <numerusform>%n blank page skipped</numerusform>
            <numerusform>%n blank pages skipped</numerusform>
        </translation>
    </message>
    <message>
        <source>共 %1, 分成 %2保存:</source>
        <translation>%1 in total, saved as %2:</translation>
    </message>
    <message numerus="yes">
        <source>%n 页</source>
        <translation>
            <numerusform>%n page</numerusform>
            <numerusform>%n pages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个文件</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1（%n 页）</source>
        <translation>
            <numerusform>%1 (%n page)</numerusform>
            <numerusform>%1 (%n pages)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个空白页作为分隔页, 未放入文件</source>
        <translation>
            <numerusform>%n blank page separated the files and went into none</numerusform>
            <numerusform>%n blank pages separated the files and went into none</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>以下 %n 个文件已经存在, 生成后将被替换:</source>
        <translation>
            <numerusform>This file already exists and will be replaced:</numerusform>
            <numerusform>These %n files already exist and will be replaced:</numerusform>
        </translation>
    </message>
    <message>
        <source>要替换它们吗?</source>
        <translation>Replace them?</translation>
    </message>
    <message>
        <source>替换</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>没有保存任何文件, 原有的同名文件保持不变。</source>
        <translation>No file was saved; existing files of the same names are unchanged.</translation>
    </message>
    <message>
        <source>【2 页】%1</source>
        <translation>[2 pages] %1</translation>
    </message>
    <message>
        <source>打开的书: 在书脊处分成两页</source>
        <translation>An open book: cut at the spine into two pages</translation>
    </message>
</context>
</TS>
