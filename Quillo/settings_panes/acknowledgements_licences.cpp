// The licence texts of the libraries the application links, as their Debian packages publish them
// (each package's copyright file, unchanged). Kept apart from the view so the view stays readable.
#include "Quillo/settings_panes/acknowledgements_view.h"

namespace Quillo {

const std::vector<Acknowledgement>& acknowledgements() {
  static const std::vector<Acknowledgement> entries = {
      {"cmark-gfm", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Contact: https://github.com/commonmark/cmark
Source: https://github.com/commonmark/cmark/releases

Files: *
Copyright: 2014, John MacFarlane
License: BSD-2-clause
 Redistribution and use in source and binary forms, with or without
 modification, are permitted provided that the following conditions are met:
 .
     * Redistributions of source code must retain the above copyright
       notice, this list of conditions and the following disclaimer.
 .
     * Redistributions in binary form must reproduce the above
       copyright notice, this list of conditions and the following
       disclaimer in the documentation and/or other materials provided
       with the distribution.
 .
 THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS
 "AS IS" AND ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT
 LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR
 A PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT
 OWNER OR CONTRIBUTORS BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL,
 SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT
 LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE,
 DATA, OR PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY
 THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT LIABILITY, OR TORT
 (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF THE USE
 OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.

Files: FindAsan.cmake
Copyright: 2013, Matthew Arsenault
License: Expat

Files: bench/statistics.py
Copyright: 2013, Steven D'Aprano <steve+python@pearwood.info>
License: Apache
 Licensed under the Apache License, Version 2.0 (the "License");
 you may not use this file except in compliance with the License.
 You may obtain a copy of the License at
 .
 http://www.apache.org/licenses/LICENSE-2.0
 .
 Unless required by applicable law or agreed to in writing, software
 distributed under the License is distributed on an "AS IS" BASIS,
 WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied.
 See the License for the specific language governing permissions and
 limitations under the License.

Files: data/CaseFolding.txt
Copyright: 1991-2016 Unicode, Inc. All rights reserved.
License: Unicode
 Distributed under the Terms of Use in http://www.unicode.org/copyright.html.
 .
 Permission is hereby granted, free of charge, to any person obtaining
 a copy of the Unicode data files and any associated documentation
 (the "Data Files") or Unicode software and any associated documentation
 (the "Software") to deal in the Data Files or Software
 without restriction, including without limitation the rights to use,
 copy, modify, merge, publish, distribute, and/or sell copies of
 the Data Files or Software, and to permit persons to whom the Data Files
 or Software are furnished to do so, provided that either
 (a) this copyright and permission notice appear with all copies
 of the Data Files or Software, or
 (b) this copyright and permission notice appear in associated
 Documentation.
 .
 THE DATA FILES AND SOFTWARE ARE PROVIDED "AS IS", WITHOUT WARRANTY OF
 ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
 WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
 NONINFRINGEMENT OF THIRD PARTY RIGHTS.
 IN NO EVENT SHALL THE COPYRIGHT HOLDER OR HOLDERS INCLUDED IN THIS
 NOTICE BE LIABLE FOR ANY CLAIM, OR ANY SPECIAL INDIRECT OR CONSEQUENTIAL
 DAMAGES, OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE,
 DATA OR PROFITS, WHETHER IN AN ACTION OF CONTRACT, NEGLIGENCE OR OTHER
 TORTIOUS ACTION, ARISING OUT OF OR IN CONNECTION WITH THE USE OR
 PERFORMANCE OF THE DATA FILES OR SOFTWARE.
 .
 Except as contained in this notice, the name of a copyright holder
 shall not be used in advertising or otherwise to promote the sale,
 use or other dealings in these Data Files or Software without prior
 written authorization of the copyright holder.
Comment:
 The original file is at
 <http://www.unicode.org/Public/3.2-Update/CaseFolding-3.2.0.txt>.
 The license applies per
 <http://www.unicode.org/copyright.html#License>.

Files: src/houdini.h src/houdini_href_e.c src/houdini_html_e.c src/houdini_html_u.c
Copyright: 2012, Vicent Martí
License: Expat

Files: src/buffer.h src/buffer.c src/chunk.h
Copyright: 2012, Github, Inc.
License: Expat

Files: src/utf8.c
Copyright: 2009, Public Software Group e. V., Berlin, Germany
License: Expat

Files: test/normalize.py
Copyright: 2013, Karl Dubost
License: Expat

Files: test/spec.txt
Copyright: 2014-15, John MacFarlane
License: CC-BY-SA-4.0
 Attribution-ShareAlike 4.0 International
 .
 =======================================================================
 .
 Creative Commons Corporation ("Creative Commons") is not a law firm and
 does not provide legal services or legal advice. Distribution of
 Creative Commons public licenses does not create a lawyer-client or
 other relationship. Creative Commons makes its licenses and related
 information available on an "as-is" basis. Creative Commons gives no
 warranties regarding its licenses, any material licensed under their
 terms and conditions, or any related information. Creative Commons
 disclaims all liability for damages resulting from their use to the
 fullest extent possible.
 .
 Using Creative Commons Public Licenses
 .
 Creative Commons public licenses provide a standard set of terms and
 conditions that creators and other rights holders may use to share
 original works of authorship and other material subject to copyright
 and certain other rights specified in the public license below. The
 following considerations are for informational purposes only, are not
 exhaustive, and do not form part of our licenses.
 .
      Considerations for licensors: Our public licenses are
      intended for use by those authorized to give the public
      permission to use material in ways otherwise restricted by
      copyright and certain other rights. Our licenses are
      irrevocable. Licensors should read and understand the terms
      and conditions of the license they choose before applying it.
      Licensors should also secure all rights necessary before
      applying our licenses so that the public can reuse the
      material as expected. Licensors should clearly mark any
      material not subject to the license. This includes other CC-
      licensed material, or material used under an exception or
      limitation to copyright. More considerations for licensors:
      wiki.creativecommons.org/Considerations_for_licensors
 .
      Considerations for the public: By using one of our public
      licenses, a licensor grants the public permission to use the
      licensed material under specified terms and conditions. If
      the licensor's permission is not necessary for any reason--for
      example, because of any applicable exception or limitation to
      copyright--then that use is not regulated by the license. Our
      licenses grant only permissions under copyright and certain
      other rights that a licensor has authority to grant. Use of
      the licensed material may still be restricted for other
      reasons, including because others have copyright or other
      rights in the material. A licensor may make special requests,
      such as asking that all changes be marked or described.
      Although not required by our licenses, you are encouraged to
      respect those requests where reasonable. More considerations
      for the public: 
      wiki.creativecommons.org/Considerations_for_licensees
 .
 =======================================================================
 .
 Creative Commons Attribution-ShareAlike 4.0 International Public
 License
 .
 By exercising the Licensed Rights (defined below), You accept and agree
 to be bound by the terms and conditions of this Creative Commons
 Attribution-ShareAlike 4.0 International Public License ("Public
 License"). To the extent this Public License may be interpreted as a
 contract, You are granted the Licensed Rights in consideration of Your
 acceptance of these terms and conditions, and the Licensor grants You
 such rights in consideration of benefits the Licensor receives from
 making the Licensed Material available under these terms and
 conditions.
 .
 .
 Section 1 -- Definitions.
 .
   a. Adapted Material means material subject to Copyright and Similar
      Rights that is derived from or based upon the Licensed Material
      and in which the Licensed Material is translated, altered,
      arranged, transformed, or otherwise modified in a manner requiring
      permission under the Copyright and Similar Rights held by the
      Licensor. For purposes of this Public License, where the Licensed
      Material is a musical work, performance, or sound recording,
      Adapted Material is always produced where the Licensed Material is
      synched in timed relation with a moving image.
 .
   b. Adapter's License means the license You apply to Your Copyright
      and Similar Rights in Your contributions to Adapted Material in
      accordance with the terms and conditions of this Public License.
 .
   c. BY-SA Compatible License means a license listed at
      creativecommons.org/compatiblelicenses, approved by Creative
      Commons as essentially the equivalent of this Public License.
 .
   d. Copyright and Similar Rights means copyright and/or similar rights
      closely related to copyright including, without limitation,
      performance, broadcast, sound recording, and Sui Generis Database
      Rights, without regard to how the rights are labeled or
      categorized. For purposes of this Public License, the rights
      specified in Section 2(b)(1)-(2) are not Copyright and Similar
      Rights.
 .
   e. Effective Technological Measures means those measures that, in the
      absence of proper authority, may not be circumvented under laws
      fulfilling obligations under Article 11 of the WIPO Copyright
      Treaty adopted on December 20, 1996, and/or similar international
      agreements.
 .
   f. Exceptions and Limitations means fair use, fair dealing, and/or
      any other exception or limitation to Copyright and Similar Rights
      that applies to Your use of the Licensed Material.
 .
   g. License Elements means the license attributes listed in the name
      of a Creative Commons Public License. The License Elements of this
      Public License are Attribution and ShareAlike.
 .
   h. Licensed Material means the artistic or literary work, database,
      or other material to which the Licensor applied this Public
      License.
 .
   i. Licensed Rights means the rights granted to You subject to the
      terms and conditions of this Public License, which are limited to
      all Copyright and Similar Rights that apply to Your use of the
      Licensed Material and that the Licensor has authority to license.
 .
   j. Licensor means the individual(s) or entity(ies) granting rights
      under this Public License.
 .
   k. Share means to provide material to the public by any means or
      process that requires permission under the Licensed Rights, such
      as reproduction, public display, public performance, distribution,
      dissemination, communication, or importation, and to make material
      available to the public including in ways that members of the
      public may access the material from a place and at a time
      individually chosen by them.
 .
   l. Sui Generis Database Rights means rights other than copyright
      resulting from Directive 96/9/EC of the European Parliament and of
      the Council of 11 March 1996 on the legal protection of databases,
      as amended and/or succeeded, as well as other essentially
      equivalent rights anywhere in the world.
 .
   m. You means the individual or entity exercising the Licensed Rights
      under this Public License. Your has a corresponding meaning.
 .
 .
 Section 2 -- Scope.
 .
   a. License grant.
 .
        1. Subject to the terms and conditions of this Public License,
           the Licensor hereby grants You a worldwide, royalty-free,
           non-sublicensable, non-exclusive, irrevocable license to
           exercise the Licensed Rights in the Licensed Material to:
 .
             a. reproduce and Share the Licensed Material, in whole or
                in part; and
 .
             b. produce, reproduce, and Share Adapted Material.
 .
        2. Exceptions and Limitations. For the avoidance of doubt, where
           Exceptions and Limitations apply to Your use, this Public
           License does not apply, and You do not need to comply with
           its terms and conditions.
 .
        3. Term. The term of this Public License is specified in Section
           6(a).
 .
        4. Media and formats; technical modifications allowed. The
           Licensor authorizes You to exercise the Licensed Rights in
           all media and formats whether now known or hereafter created,
           and to make technical modifications necessary to do so. The
           Licensor waives and/or agrees not to assert any right or
           authority to forbid You from making technical modifications
           necessary to exercise the Licensed Rights, including
           technical modifications necessary to circumvent Effective
           Technological Measures. For purposes of this Public License,
           simply making modifications authorized by this Section 2(a)
           (4) never produces Adapted Material.
 .
        5. Downstream recipients.
 .
             a. Offer from the Licensor -- Licensed Material. Every
                recipient of the Licensed Material automatically
                receives an offer from the Licensor to exercise the
                Licensed Rights under the terms and conditions of this
                Public License.
 .
             b. Additional offer from the Licensor -- Adapted Material.
                Every recipient of Adapted Material from You
                automatically receives an offer from the Licensor to
                exercise the Licensed Rights in the Adapted Material
                under the conditions of the Adapter's License You apply.
 .
             c. No downstream restrictions. You may not offer or impose
                any additional or different terms or conditions on, or
                apply any Effective Technological Measures to, the
                Licensed Material if doing so restricts exercise of the
                Licensed Rights by any recipient of the Licensed
                Material.
 .
        6. No endorsement. Nothing in this Public License constitutes or
           may be construed as permission to assert or imply that You
           are, or that Your use of the Licensed Material is, connected
           with, or sponsored, endorsed, or granted official status by,
           the Licensor or others designated to receive attribution as
           provided in Section 3(a)(1)(A)(i).
 .
   b. Other rights.
 .
        1. Moral rights, such as the right of integrity, are not
           licensed under this Public License, nor are publicity,
           privacy, and/or other similar personality rights; however, to
           the extent possible, the Licensor waives and/or agrees not to
           assert any such rights held by the Licensor to the limited
           extent necessary to allow You to exercise the Licensed
           Rights, but not otherwise.
 .
        2. Patent and trademark rights are not licensed under this
           Public License.
 .
        3. To the extent possible, the Licensor waives any right to
           collect royalties from You for the exercise of the Licensed
           Rights, whether directly or through a collecting society
           under any voluntary or waivable statutory or compulsory
           licensing scheme. In all other cases the Licensor expressly
           reserves any right to collect such royalties.
 .
 .
 Section 3 -- License Conditions.
 .
 Your exercise of the Licensed Rights is expressly made subject to the
 following conditions.
 .
   a. Attribution.
 .
        1. If You Share the Licensed Material (including in modified
           form), You must:
 .
             a. retain the following if it is supplied by the Licensor
                with the Licensed Material:
 .
                  i. identification of the creator(s) of the Licensed
                     Material and any others designated to receive
                     attribution, in any reasonable manner requested by
                     the Licensor (including by pseudonym if
                     designated);
 .
                 ii. a copyright notice;
 .
                iii. a notice that refers to this Public License;
 .
                 iv. a notice that refers to the disclaimer of
                     warranties;
 .
                  v. a URI or hyperlink to the Licensed Material to the
                     extent reasonably practicable;
 .
             b. indicate if You modified the Licensed Material and
                retain an indication of any previous modifications; and
 .
             c. indicate the Licensed Material is licensed under this
                Public License, and include the text of, or the URI or
                hyperlink to, this Public License.
 .
        2. You may satisfy the conditions in Section 3(a)(1) in any
           reasonable manner based on the medium, means, and context in
           which You Share the Licensed Material. For example, it may be
           reasonable to satisfy the conditions by providing a URI or
           hyperlink to a resource that includes the required
           information.
 .
        3. If requested by the Licensor, You must remove any of the
           information required by Section 3(a)(1)(A) to the extent
           reasonably practicable.
 .
   b. ShareAlike.
 .
      In addition to the conditions in Section 3(a), if You Share
      Adapted Material You produce, the following conditions also apply.
 .
        1. The Adapter's License You apply must be a Creative Commons
           license with the same License Elements, this version or
           later, or a BY-SA Compatible License.
 .
        2. You must include the text of, or the URI or hyperlink to, the
           Adapter's License You apply. You may satisfy this condition
           in any reasonable manner based on the medium, means, and
           context in which You Share Adapted Material.
 .
        3. You may not offer or impose any additional or different terms
           or conditions on, or apply any Effective Technological
           Measures to, Adapted Material that restrict exercise of the
           rights granted under the Adapter's License You apply.
 .
 .
 Section 4 -- Sui Generis Database Rights.
 .
 Where the Licensed Rights include Sui Generis Database Rights that
 apply to Your use of the Licensed Material:
 .
   a. for the avoidance of doubt, Section 2(a)(1) grants You the right
      to extract, reuse, reproduce, and Share all or a substantial
      portion of the contents of the database;
 .
   b. if You include all or a substantial portion of the database
      contents in a database in which You have Sui Generis Database
      Rights, then the database in which You have Sui Generis Database
      Rights (but not its individual contents) is Adapted Material,
 .
      including for purposes of Section 3(b); and
   c. You must comply with the conditions in Section 3(a) if You Share
      all or a substantial portion of the contents of the database.
 .
 For the avoidance of doubt, this Section 4 supplements and does not
 replace Your obligations under this Public License where the Licensed
 Rights include other Copyright and Similar Rights.
 .
 .
 Section 5 -- Disclaimer of Warranties and Limitation of Liability.
 .
   a. UNLESS OTHERWISE SEPARATELY UNDERTAKEN BY THE LICENSOR, TO THE
      EXTENT POSSIBLE, THE LICENSOR OFFERS THE LICENSED MATERIAL AS-IS
      AND AS-AVAILABLE, AND MAKES NO REPRESENTATIONS OR WARRANTIES OF
      ANY KIND CONCERNING THE LICENSED MATERIAL, WHETHER EXPRESS,
      IMPLIED, STATUTORY, OR OTHER. THIS INCLUDES, WITHOUT LIMITATION,
      WARRANTIES OF TITLE, MERCHANTABILITY, FITNESS FOR A PARTICULAR
      PURPOSE, NON-INFRINGEMENT, ABSENCE OF LATENT OR OTHER DEFECTS,
      ACCURACY, OR THE PRESENCE OR ABSENCE OF ERRORS, WHETHER OR NOT
      KNOWN OR DISCOVERABLE. WHERE DISCLAIMERS OF WARRANTIES ARE NOT
      ALLOWED IN FULL OR IN PART, THIS DISCLAIMER MAY NOT APPLY TO YOU.
 .
   b. TO THE EXTENT POSSIBLE, IN NO EVENT WILL THE LICENSOR BE LIABLE
      TO YOU ON ANY LEGAL THEORY (INCLUDING, WITHOUT LIMITATION,
      NEGLIGENCE) OR OTHERWISE FOR ANY DIRECT, SPECIAL, INDIRECT,
      INCIDENTAL, CONSEQUENTIAL, PUNITIVE, EXEMPLARY, OR OTHER LOSSES,
      COSTS, EXPENSES, OR DAMAGES ARISING OUT OF THIS PUBLIC LICENSE OR
      USE OF THE LICENSED MATERIAL, EVEN IF THE LICENSOR HAS BEEN
      ADVISED OF THE POSSIBILITY OF SUCH LOSSES, COSTS, EXPENSES, OR
      DAMAGES. WHERE A LIMITATION OF LIABILITY IS NOT ALLOWED IN FULL OR
      IN PART, THIS LIMITATION MAY NOT APPLY TO YOU.
 .
   c. The disclaimer of warranties and limitation of liability provided
      above shall be interpreted in a manner that, to the extent
      possible, most closely approximates an absolute disclaimer and
      waiver of all liability.
 .
 .
 Section 6 -- Term and Termination.
 .
   a. This Public License applies for the term of the Copyright and
      Similar Rights licensed here. However, if You fail to comply with
      this Public License, then Your rights under this Public License
      terminate automatically.
 .
   b. Where Your right to use the Licensed Material has terminated under
      Section 6(a), it reinstates:
 .
        1. automatically as of the date the violation is cured, provided
           it is cured within 30 days of Your discovery of the
           violation; or
 .
        2. upon express reinstatement by the Licensor.
 .
      For the avoidance of doubt, this Section 6(b) does not affect any
      right the Licensor may have to seek remedies for Your violations
      of this Public License.
 .
   c. For the avoidance of doubt, the Licensor may also offer the
      Licensed Material under separate terms or conditions or stop
      distributing the Licensed Material at any time; however, doing so
      will not terminate this Public License.
 .
   d. Sections 1, 5, 6, 7, and 8 survive termination of this Public
      License.
 .
 .
 Section 7 -- Other Terms and Conditions.
 .
   a. The Licensor shall not be bound by any additional or different
      terms or conditions communicated by You unless expressly agreed.
 .
   b. Any arrangements, understandings, or agreements regarding the
      Licensed Material not stated herein are separate from and
      independent of the terms and conditions of this Public License.
 .
 .
 Section 8 -- Interpretation.
 .
   a. For the avoidance of doubt, this Public License does not, and
      shall not be interpreted to, reduce, limit, restrict, or impose
      conditions on any use of the Licensed Material that could lawfully
      be made without permission under this Public License.
 .
   b. To the extent possible, if any provision of this Public License is
      deemed unenforceable, it shall be automatically reformed to the
      minimum extent necessary to make it enforceable. If the provision
      cannot be reformed, it shall be severed from this Public License
      without affecting the enforceability of the remaining terms and
      conditions.
 .
   c. No term or condition of this Public License will be waived and no
      failure to comply consented to unless expressly agreed to by the
      Licensor.
 .
   d. Nothing in this Public License constitutes or may be interpreted
      as a limitation upon, or waiver of, any privileges and immunities
      that apply to the Licensor or You, including from the legal
      processes of any jurisdiction or authority.
 .
 .
 =======================================================================
 .
 Creative Commons is not a party to its public
 licenses. Notwithstanding, Creative Commons may elect to apply one of
 its public licenses to material it publishes and in those instances
 will be considered the “Licensor.” The text of the Creative Commons
 public licenses is dedicated to the public domain under the CC0 Public
 Domain Dedication. Except for the limited purpose of indicating that
 material is shared under a Creative Commons public license or as
 otherwise permitted by the Creative Commons policies published at
 creativecommons.org/policies, Creative Commons does not authorize the
 use of the trademark "Creative Commons" or any other trademark or logo
 of Creative Commons without its prior written consent including,
 without limitation, in connection with any unauthorized modifications
 to any of its public licenses or any other arrangements,
 understandings, or agreements concerning use of licensed material. For
 the avoidance of doubt, this paragraph does not form part of the
 public licenses.
 .
 Creative Commons may be contacted at creativecommons.org.

License: Expat
 Permission is hereby granted, free of charge, to any person obtaining a copy of
 this software and associated documentation files (the "Software"), to deal in
 the Software without restriction, including without limitation the rights to
 use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies
 of the Software, and to permit persons to whom the Software is furnished to do
 so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in all
 copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
 SOFTWARE.)licence"},
      {"libcurl", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: curl
Source: https://curl.se/

Files: *
Copyright: 1997-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: debian/*
Copyright: 1999, Leon Breedt <ljb@debian.org>
 2005, Luk Claes <luk@debian.org>
 2005, LaMont Jones <lamont@ubuntu.com>
 2004-2005, Matthias Klose <doko@debian.org>
 2005-2006, Martin Pitt <martin.pitt@ubuntu.com>
 2008, Andreas Schuldei <andreas@debian.org>
 2000-2010, Domenico Andreoli <cavok@debian.org>
 1999-2010, Domenico Andreoli <cavok@debian.org>
 2010-2011, Ramakrishnan Muthukrishnan <rkrishnan@debian.org>
 2007, 2011, 2018, Steve Langasek <vorlon@debian.org>
 2011-2020, Alessandro Ghedini <ghedo@debian.org>
 2021, Bruno Kleinert <fuddl@debian.org>
 2021, Jeremy Bicha <jbicha@debian.org>
 2014-2011, Helmut Grohne <helmutg@debian.org>
 2022, Paul Gevers <elbrus@debian.org>
 2013, 2022, Salvatore Bonaccorso <carnil@debian.org>
 2022, Sergio Durigan Junior <sergiodj@debian.org>
 2021-2022, Samuel Henrique <samueloph@debian.org>
 2023 John Scott <jscott@posteo.net>
License: curl

Files: debian/tests/LDAP-bindata.c
Copyright: 2019 Ryan Tandy <ryan@nardis.ca>
 2023 John Scott <jscott@posteo.net>
License: OLDAP-2.8

Files: packages/vms/backup_gnv_curl_src.com
 packages/vms/build_curl-config_script.com
 packages/vms/build_gnv_curl.com
 packages/vms/build_gnv_curl_pcsi_desc.com
 packages/vms/build_gnv_curl_pcsi_text.com
 packages/vms/build_gnv_curl_release_notes.com
 packages/vms/build_libcurl_pc.com
 packages/vms/clean_gnv_curl.com
 packages/vms/config_h.com
 packages/vms/curl_gnv_build_steps.txt
 packages/vms/curl_startup.com
 packages/vms/generate_config_vms_h_curl.com
 packages/vms/generate_vax_transfer.com
 packages/vms/gnv_conftest.c_first
 packages/vms/gnv_curl_configure.sh
 packages/vms/gnv_libcurl_symbols.opt
 packages/vms/gnv_link_curl.com
 packages/vms/make_gnv_curl_install.sh
 packages/vms/make_pcsi_curl_kit_name.com
 packages/vms/pcsi_gnv_curl_file_list.txt
 packages/vms/pcsi_product_gnv_curl.com
 packages/vms/report_openssl_version.c
 packages/vms/setup_gnv_curl_build.com
 packages/vms/stage_curl_install.com
 packages/vms/vms_eco_level.h
Copyright: 2009-2022, John Malmberg
License: ISC

Files: lib/curl_des.c
 lib/curl_des.h
 lib/system_win32.c
 lib/system_win32.h
 lib/vauth/krb5_sspi.c
 lib/vauth/vauth.c
 lib/vauth/vauth.h
 lib/version_win32.c
 lib/version_win32.h
 projects/build-openssl.bat
 projects/checksrc.bat
 projects/generate.bat
 tests/libtest/lib1520.c
Copyright: 2012-2022, Steve Holme, <steve_holme@hotmail.com>
License: curl

Files: m4/xc-am-iface.m4
 m4/xc-cc-check.m4
 m4/xc-lt-iface.m4
 m4/xc-translit.m4
 m4/xc-val-flgs.m4
 m4/zz40-xc-ovr.m4
 m4/zz50-xc-ovr.m4
 m4/zz60-xc-ovr.m4
Copyright: 2011-2022, Daniel Stenberg <daniel@haxx.se>
License: ISC

Files: compile
 depcomp
 missing
 test-driver
Copyright: 1996-2021, Free Software Foundation, Inc.
License: GPL-2+ with Autoconf-data exception

Files: lib/vtls/mbedtls.c
 lib/vtls/mbedtls.h
 lib/vtls/mbedtls_threadlock.c
 lib/vtls/mbedtls_threadlock.h
Copyright: 2010-2011, Hoi-Ho Chan, <hoiho.chan@gmail.com>
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: tests/libtest/lib1506.c
 tests/libtest/lib1508.c
 tests/libtest/lib1510.c
 tests/libtest/lib1512.c
Copyright: 2013-2022, Linus Nielsen Feltzing <linus@haxx.se>
License: curl

Files: config.guess
 config.sub
Copyright: 1992-2022, Free Software Foundation, Inc.
License: GPL-3+ with Autoconf-data exception

Files: lib/inet_ntop.c
 lib/inet_pton.c
Copyright: 1996-2022, Internet Software Consortium.
License: ISC

Files: tests/certs/scripts/genroot.sh
 tests/certs/scripts/genserv.sh
Copyright: 2000-2020, EdelWeb for EdelKey and OpenEvidence
License: curl

Files: lib/smb.c
 lib/smb.h
Copyright: 2014, 2018, Bill Nagel <wnagel@tycoint.com>, Exacq Technologies
  2018-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/curl_sha256.h
 lib/sha256.c
Copyright: 2017, Florin Petriuc, <petriuc.florin@gmail.com>
  2018-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/conncache.c
 lib/conncache.h
Copyright: 2012-2016, Linus Nielsen Feltzing, <linus@haxx.se>
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: tests/appveyor.pm
 tests/azure.pm
Copyright: 2020-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
  2020-2022, Marc Hoersken, <info@marc-hoersken.de>
License: curl

Files: lib/vtls/schannel.c
 lib/vtls/schannel_verify.c
Copyright: 2012, Mark Salisbury, <mark.salisbury@hp.com>
  2012-2016, Marc Hoersken, <info@marc-hoersken.de>
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/socks_gssapi.c
 lib/socks_sspi.c
Copyright: 2011-2012, Markus Moeller, <markus_moeller@compuserve.com>
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/vtls/sectransp.c
 lib/vtls/sectransp.h
Copyright: 2012-2017, Nick Zitzmann, <nickzman@gmail.com>.
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/vauth/digest_sspi.c
 lib/vauth/krb5_gssapi.c
Copyright: 2014-2019, Steve Holme, <steve_holme@hotmail.com>.
  2015-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/vtls/rustls.c
 lib/vtls/rustls.h
Copyright: 2020-2022, Jacob Hoffman-Andrews,
License: curl

Files: tests/libtest/lib1908.c
 tests/libtest/lib1910.c
Copyright: 2013-2022, Linus Nielsen Feltzing, <linus@haxx.se>
License: curl

Files: docs/libcurl/opts/CURLOPT_PREREQDATA.3
 docs/libcurl/opts/CURLOPT_PREREQFUNCTION.3
Copyright: 2022, Max Dymond, <max.dymond@microsoft.com>, et al.
License: curl

Files: lib/vtls/bearssl.c
 lib/vtls/bearssl.h
Copyright: 2019-2022, Michael Forney, <mforney@mforney.org>
License: curl

Files: tests/libtest/lib1526.c
 tests/libtest/lib1527.c
Copyright: 1998-2022, Vijay Panghal, <vpanghal@maginatics.com>, et al.
License: curl

Files: m4/libtool.m4
 ltmain.sh
Copyright: 1996-2022, Free Software Foundation, Inc.
License: GPL-2+ with Libtool exception

Files: lib/krb5.c
Copyright: 1995-1999, Kungliga Tekniska Högskolan
  2004-2022, Daniel Stenberg
License: BSD-3-clause

Files: tests/server/tftpd.c
Copyright: 1983, Regents of the University of California.
  2005-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: BSD-4-Clause-UC

Files: aclocal.m4
 m4/ltsugar.m4
 m4/ltversion.m4
 m4/ltoptions.m4
 m4/lt~obsolete.m4
Copyright: 1996-2022, Free Software Foundation, Inc.
License: FSFULLR

Files: install-sh
Copyright: 1994, X Consortium
License: X11

Files: lib/mqtt.h
Copyright: 2019-2022, Björn Stenberg, <bjorn@haxx.se>
License: curl

Files: lib/mqtt.c
Copyright: 2019, Björn Stenberg, <bjorn@haxx.se>
  2020-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/curl_rtmp.c
Copyright: 2012, Howard Chu, <hyc@highlandsun.com>
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/openldap.c
Copyright: 2010, Howard Chu, <hyc@openldap.org>
  2011-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: tests/server/fake_ntlm.c
Copyright: 2010, Mandy Wu, <mandy.wu@intel.com>
  2011-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: lib/vtls/schannel.h
Copyright: 2012, Marc Hoersken, <info@marc-hoersken.de>, et al.
  2012-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: tests/libtest/lib1525.c
Copyright: 1998, Vijay Panghal, <vpanghal@maginatics.com>, et al.
  1998-2022, Daniel Stenberg, <daniel@haxx.se>, et al.
License: curl

Files: docs/libcurl/libcurl.m4
Copyright: 2006-2022, David Shaw <dshaw@jabberwocky.com>
License: curl

Files: tests/pathhelp.pm
Copyright: 2016-2022, Evgeny Grin (Karlson2k), <k2k@narod.ru>.
License: curl

Files: lib/curl_rtmp.h
Copyright: 2010-2022, Howard Chu, <hyc@highlandsun.com>
License: curl

Files: projects/build-wolfssl.bat
Copyright: 2012-2020, Steve Holme, <steve_holme@hotmail.com>.
  2015-2022, Jay Satiro, <raysatiro@yahoo.com>.
License: curl

Files: docs/examples/crawler.c
Copyright: 2018-2022, Jeroen Ooms <jeroenooms@gmail.com>
License: curl

Files: tests/libtest/libprereq.c
Copyright: 2021-2022, Max Dymond, <max.dymond@microsoft.com>
License: curl

Files: tests/libtest/lib3010.c
Copyright: 2020-2022, Nicolas Sterchele, <nicolas@sterchelen.net>
License: curl

Files: lib/vssh/libssh.c
Copyright: 2017-2022, Red Hat, Inc.
License: curl

Files: lib/vauth/gsasl.c
Copyright: 2020-2022, Simon Josefsson, <simon@josefsson.org>, et al.
License: curl

License: curl
 All rights reserved.
 .
 Permission to use, copy, modify, and distribute this software for any purpose
 with or without fee is hereby granted, provided that the above copyright
 notice and this permission notice appear in all copies.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT OF THIRD PARTY RIGHTS. IN
 NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM,
 DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR
 OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE
 OR OTHER DEALINGS IN THE SOFTWARE.
 .
 Except as contained in this notice, the name of a copyright holder shall not
 be used in advertising or otherwise to promote the sale, use or other dealings
 in this Software without prior written authorization of the copyright holder.

License: BSD-3-Clause
 Redistribution and use in source and binary forms, with or without
 modification, are permitted provided that the following conditions
 are met:
 .
 1. Redistributions of source code must retain the above copyright
    notice, this list of conditions and the following disclaimer.
 .
 2. Redistributions in binary form must reproduce the above copyright
    notice, this list of conditions and the following disclaimer in the
    documentation and/or other materials provided with the distribution.
 .
 3. Neither the name of the Institute nor the names of its contributors
    may be used to endorse or promote products derived from this software
    without specific prior written permission.
 .
 THIS SOFTWARE IS PROVIDED BY THE INSTITUTE AND CONTRIBUTORS ``AS IS'' AND
 ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE
 IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE
 ARE DISCLAIMED.  IN NO EVENT SHALL THE INSTITUTE OR CONTRIBUTORS BE LIABLE
 FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL
 DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS
 OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION)
 HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT
 LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY
 OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF
 SUCH DAMAGE.

License: BSD-4-Clause-UC
 Redistribution and use in source and binary forms, with or without
 modification, are permitted provided that the following conditions
 are met:
 1. Redistributions of source code must retain the above copyright
    notice, this list of conditions and the following disclaimer.
 2. Redistributions in binary form must reproduce the above copyright
    notice, this list of conditions and the following disclaimer in the
    documentation and/or other materials provided with the distribution.
 3. All advertising materials mentioning features or use of this software
    must display the following acknowledgement:
      This product includes software developed by the University of
      California, Berkeley and its contributors.
 4. Neither the name of the University nor the names of its contributors
    may be used to endorse or promote products derived from this software
    without specific prior written permission.
 .
 THIS SOFTWARE IS PROVIDED BY THE REGENTS AND CONTRIBUTORS ``AS IS'' AND
 ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE
 IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE
 ARE DISCLAIMED.  IN NO EVENT SHALL THE REGENTS OR CONTRIBUTORS BE LIABLE
 FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL
 DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS
 OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION)
 HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT
 LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY
 OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF
 SUCH DAMAGE.
Comment: Clause 3 has been deleted:
 July 22, 1999
 .
 To All Licensees, Distributors of Any Version of BSD:
 .
 As you know, certain of the Berkeley Software Distribution ("BSD") source
 code files require that further distributions of products containing all or
 portions of the software, acknowledge within their advertising materials
 that such products contain software developed by UC Berkeley and its
 contributors.
 .
 Specifically, the provision reads:
 .
 "     * 3. All advertising materials mentioning features or use of this software
       *    must display the following acknowledgement:
       *    This product includes software developed by the University of
       *    California, Berkeley and its contributors."
 .
 Effective immediately, licensees and distributors are no longer required to
 include the acknowledgement within advertising materials.  Accordingly, the
 foregoing paragraph of those BSD Unix files containing it is hereby deleted
 in its entirety.
 .
 William Hoskins
 Director, Office of Technology Licensing
 University of California, Berkeley

License: ISC
 Permission to use, copy, modify, and/or distribute this software for any
 purpose with or without fee is hereby granted, provided that the above
 copyright notice and this permission notice appear in all copies.
 .
 THE SOFTWARE IS PROVIDED "AS IS" AND THE AUTHOR DISCLAIMS ALL WARRANTIES
 WITH REGARD TO THIS SOFTWARE INCLUDING ALL IMPLIED WARRANTIES OF
 MERCHANTABILITY AND FITNESS. IN NO EVENT SHALL THE AUTHOR BE LIABLE FOR
 ANY SPECIAL, DIRECT, INDIRECT, OR CONSEQUENTIAL DAMAGES OR ANY DAMAGES
 WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN AN
 ACTION OF CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION, ARISING OUT OF
 OR IN CONNECTION WITH THE USE OR PERFORMANCE OF THIS SOFTWARE.

License: GPL-2+ with Autoconf-data exception
 This program is free software; you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation; either version 2, or (at your option)
 any later version.
 .
 This program is distributed in the hope that it will be useful,
 but WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
 GNU General Public License for more details.
 .
 You should have received a copy of the GNU General Public License
 along with this program.  If not, see <https://www.gnu.org/licenses/>.
 As a special exception to the GNU General Public License, if you
 distribute this file as part of a program that contains a
 configuration script generated by Autoconf, you may include it under
 the same distribution terms that you use for the rest of that program.

License: X11
 Permission is hereby granted, free of charge, to any person obtaining a copy
 of this software and associated documentation files (the "Software"), to
 deal in the Software without restriction, including without limitation the
 rights to use, copy, modify, merge, publish, distribute, sublicense, and/or
 sell copies of the Software, and to permit persons to whom the Software is
 furnished to do so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in
 all copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT.  IN NO EVENT SHALL THE
 X CONSORTIUM BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN
 AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNEC-
 TION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
 .
 Except as contained in this notice, the name of the X Consortium shall not
 be used in advertising or otherwise to promote the sale, use or other deal-
 ings in this Software without prior written authorization from the X Consor-
 tium.

License: GPL-2+ with Libtool exception
 GNU Libtool is free software; you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation; either version 2 of the License, or
 (at your option) any later version.
 .
 As a special exception to the GNU General Public License,
 if you distribute this file as part of a program or library that
 is built using GNU Libtool, you may include this file under the
 same distribution terms that you use for the rest of that program.
 .
 GNU Libtool is distributed in the hope that it will be useful, but
 WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the GNU
 General Public License for more details.
 .
 You should have received a copy of the GNU General Public License
 along with GNU Libtool; see the file COPYING.  If not, a copy
 can be downloaded from http://www.gnu.org/licenses/gpl.html,
 or obtained by writing to the Free Software Foundation, Inc.,
 51 Franklin Street, Fifth Floor, Boston, MA 02110-1301, USA.
 .
 On Debian systems, the full text of the GNU General Public
 License version 2 can be found in the file
 `/usr/share/common-licenses/GPL-2'.

License: GPL-3+ with Autoconf-data exception
 This program is free software: you can redistribute it and/or modify it
 under the terms of the GNU General Public License as published by the
 Free Software Foundation, either version 3 of the License, or (at your
 option) any later version.
 .
 This program is distributed in the hope that it will be useful, but
 WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See the GNU General
 Public License for more details.
 .
 You should have received a copy of the GNU General Public License along
 with this program. If not, see <https://www.gnu.org/licenses/>.
 .
 As a special exception, the respective Autoconf Macro's copyright owner
 gives unlimited permission to copy, distribute and modify the configure
 scripts that are the output of Autoconf when processing the Macro. You
 need not follow the terms of the GNU General Public License when using
 or distributing such scripts, even though portions of the text of the
 Macro appear in them. The GNU General Public License (GPL) does govern
 all other use of the material that constitutes the Autoconf Macro.
 .
 This special exception to the GPL applies to versions of the Autoconf
 Macro released by the Autoconf Archive. When you make and distribute a
 modified version of the Autoconf Macro, you may extend this special
 exception to the GPL to apply to your modified version as well.

License: FSFULLR
 This file is free software; the Free Software Foundation
 gives unlimited permission to copy and/or distribute it,
 with or without modifications, as long as this notice is preserved.

License: OLDAP-2.8
 The OpenLDAP Public License
 Version 2.8, 17 August 2003
 .
 Redistribution and use of this software and associated documentation ("Software"), with or without modification, are permitted provided that the following conditions are met:
 .
 1. Redistributions in source form must retain copyright statements and notices,
 .
 2. Redistributions in binary form must reproduce applicable copyright statements and notices, this list of conditions, and the following disclaimer in the documentation and/or other materials provided with the distribution, and
 .
 3. Redistributions must contain a verbatim copy of this document.
 .
 The OpenLDAP Foundation may revise this license from time to time. Each revision is distinguished by a version number. You may use this Software under terms of this license revision or under the terms of any subsequent revision of the license.
 ,
 THIS SOFTWARE IS PROVIDED BY THE OPENLDAP FOUNDATION AND ITS CONTRIBUTORS ``AS IS'' AND ANY EXPRESSED OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE OPENLDAP FOUNDATION, ITS CONTRIBUTORS, OR THE AUTHOR(S) OR OWNER(S) OF THE SOFTWARE BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.
 .
 The names of the authors and copyright holders must not be used in advertising or otherwise to promote the sale, use or other dealing in this Software without specific, written prior permission. Title to copyright in this Software shall at all times remain with copyright holders.
 .
 OpenLDAP is a registered trademark of the OpenLDAP Foundation.
 .
 Permission to copy and distribute verbatim copies of this document is granted.)licence"},
      {"nlohmann-json", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: nlohmann-json
Source: https://github.com/nlohmann/json

Files: *
Copyright: 2013-2022 Niels Lohmann
License: Expat

Files: include/nlohmann/detail/conversions/to_chars.hpp
Copyright: 2009 Florian Loitsch
License: Expat

Files: include/nlohmann/detail/output/serializer.hpp
Copyright: 2008-2009 Bjoern Hoehrmann <bjoern@hoehrmann.de>
License: Expat

Files: debian/*
Copyright: 2016 Muri Nicanor <muri@immerda.ch>
  2018 Hubert Chathi <uhoreg@debian.org>
  2019-2022 Gianfranco Costamagna <locutusofborg@debian.org>
License: Expat

Files: tests/thirdparty/Fuzzer/*
Copyright: University of Illinois at Urbana-Champaign
License: U-OF-I-BSD-LIKE

Files: tools/amalgamate/*
Copyright: 2012, Erik Edlund <erik.edlund@32767.se>
License: BSD-3-clause

Files: tools/cpplint/*
Copyright: 2009 Google Inc. All rights reserved.
License: BSD-3-clause

License: Expat
 Permission is hereby granted, free of charge, to any person obtaining a copy of
 this software and associated documentation files (the "Software"), to deal in
 the Software without restriction, including without limitation the rights to
 use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies
 of the Software, and to permit persons to whom the Software is furnished to do
 so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in all
 copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
 SOFTWARE.

License: U-OF-I-BSD-LIKE
  ==============================================================================
 LLVM Release License
 ==============================================================================
 University of Illinois/NCSA
 Open Source License
 .
 Copyright (c) 2003-2017 University of Illinois at Urbana-Champaign.
 All rights reserved.
 .
 Developed by:
 .
     LLVM Team
 .
     University of Illinois at Urbana-Champaign
 .
     http://llvm.org
 .
 Permission is hereby granted, free of charge, to any person obtaining a copy of
 this software and associated documentation files (the "Software"), to deal with
 the Software without restriction, including without limitation the rights to
 use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies
 of the Software, and to permit persons to whom the Software is furnished to do
 so, subject to the following conditions:
 .
     * Redistributions of source code must retain the above copyright notice,
       this list of conditions and the following disclaimers.
 .
     * Redistributions in binary form must reproduce the above copyright notice,
       this list of conditions and the following disclaimers in the
       documentation and/or other materials provided with the distribution.
 .
     * Neither the names of the LLVM Team, University of Illinois at
       Urbana-Champaign, nor the names of its contributors may be used to
       endorse or promote products derived from this Software without specific
       prior written permission.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS
 FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT.  IN NO EVENT SHALL THE
 CONTRIBUTORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS WITH THE
 SOFTWARE.

License: BSD-3-clause
 Redistribution and use in source and binary forms, with or without
 modification, are permitted provided that the following conditions are met:
 .
 1.  Redistributions of source code must retain the above copyright notice,
     this list of conditions and the following disclaimer.
 .
 2.  Redistributions in binary form must reproduce the above copyright notice,
     this list of conditions and the following disclaimer in the documentation
     and/or other materials provided with the distribution.
 .
 3.  The name of the copyright holders may be used to endorse or promote
     products derived from this software without specific prior written
     permission.
 .
 THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS "AS IS"
 AND ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE
 IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE
 ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT HOLDER OR CONTRIBUTORS BE
 LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR
 CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF
 SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS
 INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN
 CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE)
 ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE
 POSSIBILITY OF SUCH DAMAGE.)licence"},
      {"ICU", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
X-Format: https://dep.debian.net/deps/dep5
Upstream-Name: ICU
Upstream-Contact: https://icu.unicode.org/contacts
Source: https://github.com/unicode-org/icu

Files: *
Copyright: Copyright © 1991-2022 Unicode, Inc.
License: MIT
 Permission is hereby granted, free of charge, to any person
 obtaining a copy of this software and associated
 documentation files (the "Software"), to deal in the
 Software without restriction, including without limitation
 the rights to use, copy, modify, merge, publish, distribute,
 sublicense, and/or sell copies of the Software, and to
 permit persons to whom the Software is furnished to do so,
 subject to the following conditions:
 .
 The above copyright notice and this permission notice shall
 be included in all copies or substantial portions of the
 Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY
 KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
 WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR
 PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS
 OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR
 OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR
 OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE
 SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.

Files: debian/*
Copyright: 2005-2015 Jay Berkenbilt <qjb@debian.org>,
           2015-     Laszlo Boszormenyi (GCS) <gcs@debian.org>
License: GPL-3
 This program is free software: you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation version 3 of the License.
 .
 This program is distributed in the hope that it will be useful,
 but WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
 GNU General Public License for more details.
 .
 You should have received a copy of the GNU General Public License
 along with this program.  If not, see <https://www.gnu.org/licenses/>.
 .
 On Debian systems, the complete text of the GNU General Public
 License version 3 can be found in `/usr/share/common-licenses/GPL-3'.)licence"},
      {"fmt", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: fmt
Source: https://github.com/fmtlib/fmt
Files-Excluded:
  test/gmock
  test/gtest
  test/gmock-gtest-all.cc
  support/Android*
  support/build.gradle
  support/Vagrantfile
  support/README
  support/C++.sublime-syntax
  support/appveyor.yml
  .github
  support/rtd
  support/*.py
  doc/_static/fonts
  doc/_static/bootstrap.min.js
  doc/bootstrap
  doc/python-license.txt

Files: *
Copyright: 2012-2020 Victor Zverovich
           2018-2020 Remotion (Igor Schulz)
           2019      Paul Dreik
License: Expat with embedded exception

Files: doc/basic-bootstrap/layout.html
       doc/_templates/search.html
Copyright: 2007-2015 the Sphinx team
License: BSD-2-Clause
Comment: https://github.com/sphinx-doc/sphinx/blob/3.x/LICENSE

Files: support/cmake/JoinPaths.cmake
Copyright: 2020 Jan Tojnar
License: Expat or CC0-1.0

Files: doc/syntax.rst
Copyright: 2012-2020 Victor Zverovich
License: Python
Comment: Based on the one from Python string module documentation

Files: debian/*
Copyright: 2020 Shengjing Zhu <zhsj@debian.org>
License: Expat with embedded exception

License: Expat with embedded exception
 Permission is hereby granted, free of charge, to any person obtaining
 a copy of this software and associated documentation files (the
 "Software"), to deal in the Software without restriction, including
 without limitation the rights to use, copy, modify, merge, publish,
 distribute, sublicense, and/or sell copies of the Software, and to
 permit persons to whom the Software is furnished to do so, subject to
 the following conditions:
 .
 The above copyright notice and this permission notice shall be
 included in all copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND,
 EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF
 MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
 NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE
 LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION
 OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION
 WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
 .
 --- Optional exception to the license ---
 .
 As an exception, if, as a result of your compiling your source code, portions
 of this Software are embedded into a machine-executable object form of such
 source code, you may redistribute such embedded portions in such object form
 without including the above copyright and permission notices.

License: Expat
 Permission is hereby granted, free of charge, to any person obtaining a copy
 of this software and associated documentation files (the "Software"), to deal
 in the Software without restriction, including without limitation the rights
 to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
 copies of the Software, and to permit persons to whom the Software is
 furnished to do so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in all
 copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
 SOFTWARE.

License: CC0-1.0
 On Debian systems, the complete text of the CC0 1.0 license can be found in
 /usr/share/common-licenses/CC0-1.0

License: BSD-2-Clause
 Redistribution and use in source and binary forms, with or without
 modification, are permitted provided that the following conditions are
 met:
 .
 * Redistributions of source code must retain the above copyright
   notice, this list of conditions and the following disclaimer.
 .
 * Redistributions in binary form must reproduce the above copyright
   notice, this list of conditions and the following disclaimer in the
   documentation and/or other materials provided with the distribution.
 .
 THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS
 "AS IS" AND ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT
 LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR
 A PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT
 HOLDER OR CONTRIBUTORS BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL,
 SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT
 LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE,
 DATA, OR PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY
 THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT LIABILITY, OR TORT
 (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF THE USE
 OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.

License: Python
 A. HISTORY OF THE SOFTWARE
 ==========================
 .
 Python was created in the early 1990s by Guido van Rossum at Stichting
 Mathematisch Centrum (CWI, see http://www.cwi.nl) in the Netherlands
 as a successor of a language called ABC.  Guido remains Python's
 principal author, although it includes many contributions from others.
 .
 In 1995, Guido continued his work on Python at the Corporation for
 National Research Initiatives (CNRI, see http://www.cnri.reston.va.us)
 in Reston, Virginia where he released several versions of the
 software.
 .
 In May 2000, Guido and the Python core development team moved to
 BeOpen.com to form the BeOpen PythonLabs team.  In October of the same
 year, the PythonLabs team moved to Digital Creations (now Zope
 Corporation, see http://www.zope.com).  In 2001, the Python Software
 Foundation (PSF, see http://www.python.org/psf/) was formed, a
 non-profit organization created specifically to own Python-related
 Intellectual Property.  Zope Corporation is a sponsoring member of
 the PSF.
 .
 All Python releases are Open Source (see http://www.opensource.org for
 the Open Source Definition).  Historically, most, but not all, Python
 releases have also been GPL-compatible; the table below summarizes
 the various releases.
 .
     Release         Derived     Year        Owner       GPL-
                     from                                compatible? (1)
 .
     0.9.0 thru 1.2              1991-1995   CWI         yes
     1.3 thru 1.5.2  1.2         1995-1999   CNRI        yes
     1.6             1.5.2       2000        CNRI        no
     2.0             1.6         2000        BeOpen.com  no
     1.6.1           1.6         2001        CNRI        yes (2)
     2.1             2.0+1.6.1   2001        PSF         no
     2.0.1           2.0+1.6.1   2001        PSF         yes
     2.1.1           2.1+2.0.1   2001        PSF         yes
     2.2             2.1.1       2001        PSF         yes
     2.1.2           2.1.1       2002        PSF         yes
     2.1.3           2.1.2       2002        PSF         yes
     2.2.1           2.2         2002        PSF         yes
     2.2.2           2.2.1       2002        PSF         yes
     2.2.3           2.2.2       2003        PSF         yes
     2.3             2.2.2       2002-2003   PSF         yes
     2.3.1           2.3         2002-2003   PSF         yes
     2.3.2           2.3.1       2002-2003   PSF         yes
     2.3.3           2.3.2       2002-2003   PSF         yes
     2.3.4           2.3.3       2004        PSF         yes
     2.3.5           2.3.4       2005        PSF         yes
     2.4             2.3         2004        PSF         yes
     2.4.1           2.4         2005        PSF         yes
     2.4.2           2.4.1       2005        PSF         yes
     2.4.3           2.4.2       2006        PSF         yes
     2.4.4           2.4.3       2006        PSF         yes
     2.5             2.4         2006        PSF         yes
     2.5.1           2.5         2007        PSF         yes
     2.5.2           2.5.1       2008        PSF         yes
     2.5.3           2.5.2       2008        PSF         yes
     2.6             2.5         2008        PSF         yes
     2.6.1           2.6         2008        PSF         yes
     2.6.2           2.6.1       2009        PSF         yes
     2.6.3           2.6.2       2009        PSF         yes
     2.6.4           2.6.3       2009        PSF         yes
     2.6.5           2.6.4       2010        PSF         yes
     3.0             2.6         2008        PSF         yes
     3.0.1           3.0         2009        PSF         yes
     3.1             3.0.1       2009        PSF         yes
     3.1.1           3.1         2009        PSF         yes
     3.1.2           3.1.1       2010        PSF         yes
     3.1.3           3.1.2       2010        PSF         yes
     3.1.4           3.1.3       2011        PSF         yes
     3.2             3.1         2011        PSF         yes
     3.2.1           3.2         2011        PSF         yes
     3.2.2           3.2.1       2011        PSF         yes
     3.2.3           3.2.2       2012        PSF         yes
     3.3.0           3.2         2012        PSF         yes
 .
 Footnotes:
 .
 (1) GPL-compatible doesn't mean that we're distributing Python under
     the GPL.  All Python licenses, unlike the GPL, let you distribute
     a modified version without making your changes open source.  The
     GPL-compatible licenses make it possible to combine Python with
     other software that is released under the GPL; the others don't.
 .
 (2) According to Richard Stallman, 1.6.1 is not GPL-compatible,
     because its license has a choice of law clause.  According to
     CNRI, however, Stallman's lawyer has told CNRI's lawyer that 1.6.1
     is "not incompatible" with the GPL.
 .
 Thanks to the many outside volunteers who have worked under Guido's
 direction to make these releases possible.
 .
 .
 B. TERMS AND CONDITIONS FOR ACCESSING OR OTHERWISE USING PYTHON
 ===============================================================
 .
 PYTHON SOFTWARE FOUNDATION LICENSE VERSION 2
 --------------------------------------------
 .
 1. This LICENSE AGREEMENT is between the Python Software Foundation
 ("PSF"), and the Individual or Organization ("Licensee") accessing and
 otherwise using this software ("Python") in source or binary form and
 its associated documentation.
 .
 2. Subject to the terms and conditions of this License Agreement, PSF hereby
 grants Licensee a nonexclusive, royalty-free, world-wide license to reproduce,
 analyze, test, perform and/or display publicly, prepare derivative works,
 distribute, and otherwise use Python alone or in any derivative version,
 provided, however, that PSF's License Agreement and PSF's notice of copyright,
 i.e., "Copyright (c) 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009, 2010,
 2011, 2012 Python Software Foundation; All Rights Reserved" are retained in Python
 alone or in any derivative version prepared by Licensee.
 .
 3. In the event Licensee prepares a derivative work that is based on
 or incorporates Python or any part thereof, and wants to make
 the derivative work available to others as provided herein, then
 Licensee hereby agrees to include in any such work a brief summary of
 the changes made to Python.
 .
 4. PSF is making Python available to Licensee on an "AS IS"
 basis.  PSF MAKES NO REPRESENTATIONS OR WARRANTIES, EXPRESS OR
 IMPLIED.  BY WAY OF EXAMPLE, BUT NOT LIMITATION, PSF MAKES NO AND
 DISCLAIMS ANY REPRESENTATION OR WARRANTY OF MERCHANTABILITY OR FITNESS
 FOR ANY PARTICULAR PURPOSE OR THAT THE USE OF PYTHON WILL NOT
 INFRINGE ANY THIRD PARTY RIGHTS.
 .
 5. PSF SHALL NOT BE LIABLE TO LICENSEE OR ANY OTHER USERS OF PYTHON
 FOR ANY INCIDENTAL, SPECIAL, OR CONSEQUENTIAL DAMAGES OR LOSS AS
 A RESULT OF MODIFYING, DISTRIBUTING, OR OTHERWISE USING PYTHON,
 OR ANY DERIVATIVE THEREOF, EVEN IF ADVISED OF THE POSSIBILITY THEREOF.
 .
 6. This License Agreement will automatically terminate upon a material
 breach of its terms and conditions.
 .
 7. Nothing in this License Agreement shall be deemed to create any
 relationship of agency, partnership, or joint venture between PSF and
 Licensee.  This License Agreement does not grant permission to use PSF
 trademarks or trade name in a trademark sense to endorse or promote
 products or services of Licensee, or any third party.
 .
 8. By copying, installing or otherwise using Python, Licensee
 agrees to be bound by the terms and conditions of this License
 Agreement.
 .
 .
 BEOPEN.COM LICENSE AGREEMENT FOR PYTHON 2.0
 -------------------------------------------
 .
 BEOPEN PYTHON OPEN SOURCE LICENSE AGREEMENT VERSION 1
 .
 1. This LICENSE AGREEMENT is between BeOpen.com ("BeOpen"), having an
 office at 160 Saratoga Avenue, Santa Clara, CA 95051, and the
 Individual or Organization ("Licensee") accessing and otherwise using
 this software in source or binary form and its associated
 documentation ("the Software").
 .
 2. Subject to the terms and conditions of this BeOpen Python License
 Agreement, BeOpen hereby grants Licensee a non-exclusive,
 royalty-free, world-wide license to reproduce, analyze, test, perform
 and/or display publicly, prepare derivative works, distribute, and
 otherwise use the Software alone or in any derivative version,
 provided, however, that the BeOpen Python License is retained in the
 Software, alone or in any derivative version prepared by Licensee.
 .
 3. BeOpen is making the Software available to Licensee on an "AS IS"
 basis.  BEOPEN MAKES NO REPRESENTATIONS OR WARRANTIES, EXPRESS OR
 IMPLIED.  BY WAY OF EXAMPLE, BUT NOT LIMITATION, BEOPEN MAKES NO AND
 DISCLAIMS ANY REPRESENTATION OR WARRANTY OF MERCHANTABILITY OR FITNESS
 FOR ANY PARTICULAR PURPOSE OR THAT THE USE OF THE SOFTWARE WILL NOT
 INFRINGE ANY THIRD PARTY RIGHTS.
 .
 4. BEOPEN SHALL NOT BE LIABLE TO LICENSEE OR ANY OTHER USERS OF THE
 SOFTWARE FOR ANY INCIDENTAL, SPECIAL, OR CONSEQUENTIAL DAMAGES OR LOSS
 AS A RESULT OF USING, MODIFYING OR DISTRIBUTING THE SOFTWARE, OR ANY
 DERIVATIVE THEREOF, EVEN IF ADVISED OF THE POSSIBILITY THEREOF.
 .
 5. This License Agreement will automatically terminate upon a material
 breach of its terms and conditions.
 .
 6. This License Agreement shall be governed by and interpreted in all
 respects by the law of the State of California, excluding conflict of
 law provisions.  Nothing in this License Agreement shall be deemed to
 create any relationship of agency, partnership, or joint venture
 between BeOpen and Licensee.  This License Agreement does not grant
 permission to use BeOpen trademarks or trade names in a trademark
 sense to endorse or promote products or services of Licensee, or any
 third party.  As an exception, the "BeOpen Python" logos available at
 http://www.pythonlabs.com/logos.html may be used according to the
 permissions granted on that web page.
 .
 7. By copying, installing or otherwise using the software, Licensee
 agrees to be bound by the terms and conditions of this License
 Agreement.
 .
 .
 CNRI LICENSE AGREEMENT FOR PYTHON 1.6.1
 ---------------------------------------
 .
 1. This LICENSE AGREEMENT is between the Corporation for National
 Research Initiatives, having an office at 1895 Preston White Drive,
 Reston, VA 20191 ("CNRI"), and the Individual or Organization
 ("Licensee") accessing and otherwise using Python 1.6.1 software in
 source or binary form and its associated documentation.
 .
 2. Subject to the terms and conditions of this License Agreement, CNRI
 hereby grants Licensee a nonexclusive, royalty-free, world-wide
 license to reproduce, analyze, test, perform and/or display publicly,
 prepare derivative works, distribute, and otherwise use Python 1.6.1
 alone or in any derivative version, provided, however, that CNRI's
 License Agreement and CNRI's notice of copyright, i.e., "Copyright (c)
 1995-2001 Corporation for National Research Initiatives; All Rights
 Reserved" are retained in Python 1.6.1 alone or in any derivative
 version prepared by Licensee.  Alternately, in lieu of CNRI's License
 Agreement, Licensee may substitute the following text (omitting the
 quotes): "Python 1.6.1 is made available subject to the terms and
 conditions in CNRI's License Agreement.  This Agreement together with
 Python 1.6.1 may be located on the Internet using the following
 unique, persistent identifier (known as a handle): 1895.22/1013.  This
 Agreement may also be obtained from a proxy server on the Internet
 using the following URL: http://hdl.handle.net/1895.22/1013".
 .
 3. In the event Licensee prepares a derivative work that is based on
 or incorporates Python 1.6.1 or any part thereof, and wants to make
 the derivative work available to others as provided herein, then
 Licensee hereby agrees to include in any such work a brief summary of
 the changes made to Python 1.6.1.
 .
 4. CNRI is making Python 1.6.1 available to Licensee on an "AS IS"
 basis.  CNRI MAKES NO REPRESENTATIONS OR WARRANTIES, EXPRESS OR
 IMPLIED.  BY WAY OF EXAMPLE, BUT NOT LIMITATION, CNRI MAKES NO AND
 DISCLAIMS ANY REPRESENTATION OR WARRANTY OF MERCHANTABILITY OR FITNESS
 FOR ANY PARTICULAR PURPOSE OR THAT THE USE OF PYTHON 1.6.1 WILL NOT
 INFRINGE ANY THIRD PARTY RIGHTS.
 .
 5. CNRI SHALL NOT BE LIABLE TO LICENSEE OR ANY OTHER USERS OF PYTHON
 1.6.1 FOR ANY INCIDENTAL, SPECIAL, OR CONSEQUENTIAL DAMAGES OR LOSS AS
 A RESULT OF MODIFYING, DISTRIBUTING, OR OTHERWISE USING PYTHON 1.6.1,
 OR ANY DERIVATIVE THEREOF, EVEN IF ADVISED OF THE POSSIBILITY THEREOF.
 .
 6. This License Agreement will automatically terminate upon a material
 breach of its terms and conditions.
 .
 7. This License Agreement shall be governed by the federal
 intellectual property law of the United States, including without
 limitation the federal copyright law, and, to the extent such
 U.S. federal law does not apply, by the law of the Commonwealth of
 Virginia, excluding Virginia's conflict of law provisions.
 Notwithstanding the foregoing, with regard to derivative works based
 on Python 1.6.1 that incorporate non-separable material that was
 previously distributed under the GNU General Public License (GPL), the
 law of the Commonwealth of Virginia shall govern this License
 Agreement only as to issues arising under or with respect to
 Paragraphs 4, 5, and 7 of this License Agreement.  Nothing in this
 License Agreement shall be deemed to create any relationship of
 agency, partnership, or joint venture between CNRI and Licensee.  This
 License Agreement does not grant permission to use CNRI trademarks or
 trade name in a trademark sense to endorse or promote products or
 services of Licensee, or any third party.
 .
 8. By clicking on the "ACCEPT" button where indicated, or by copying,
 installing or otherwise using Python 1.6.1, Licensee agrees to be
 bound by the terms and conditions of this License Agreement.
 .
         ACCEPT
 .
 .
 CWI LICENSE AGREEMENT FOR PYTHON 0.9.0 THROUGH 1.2
 --------------------------------------------------
 .
 Copyright (c) 1991 - 1995, Stichting Mathematisch Centrum Amsterdam,
 The Netherlands.  All rights reserved.
 .
 Permission to use, copy, modify, and distribute this software and its
 documentation for any purpose and without fee is hereby granted,
 provided that the above copyright notice appear in all copies and that
 both that copyright notice and this permission notice appear in
 supporting documentation, and that the name of Stichting Mathematisch
 Centrum or CWI not be used in advertising or publicity pertaining to
 distribution of the software without specific, written prior
 permission.
 .
 STICHTING MATHEMATISCH CENTRUM DISCLAIMS ALL WARRANTIES WITH REGARD TO
 THIS SOFTWARE, INCLUDING ALL IMPLIED WARRANTIES OF MERCHANTABILITY AND
 FITNESS, IN NO EVENT SHALL STICHTING MATHEMATISCH CENTRUM BE LIABLE
 FOR ANY SPECIAL, INDIRECT OR CONSEQUENTIAL DAMAGES OR ANY DAMAGES
 WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN AN
 ACTION OF CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION, ARISING OUT
 OF OR IN CONNECTION WITH THE USE OR PERFORMANCE OF THIS SOFTWARE.)licence"},
      {"FreeType", R"licence(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: FreeType
Upstream-Contact: freetype-devel@nongnu.org
Source: https://freetype.org/download.html
Files-Excluded: docs/reference/assets/javascripts
Comment: The files in this path have been removed because they are minified
         JavaScript files and are incompatible with the DFSG.

Files: *
Copyright: 1996-2022 David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: vms_make.com
Copyright: 1996-2022 David Turner, Robert Wilhelm and Werner Lemberg
           2001, 2002 Francesco Zappa Nardelli
           2010-2019 Joel Klinghed
License: FTL and MIT

Files: builds/amiga/*
Copyright: 2005-2022 Werner Lemberg and Detlef Würkner
License: FTL

Files: builds/amiga/src/base/*
Copyright: 1996-2022 David Turner, Robert Wilhelm, Werner Lemberg and Detlef Würkner
License: FTL

Files: builds/cmake/FindHarfBuzz.cmake
Copyright: 2012 Intel Corporation
           2019 Sony Interactive Entertainment Inc.
License: BSD-3-Clause

Files: builds/mac/ftmac.c
       include/freetype/ftmac.h
       src/base/ftmac.c
Copyright: 1996-2022 Just van Rossum, David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: builds/unix/ax_compare_version.m4
Copyright: 2008 Tim Toolan
License: FSFAP

Files: builds/unix/ax_prog_python_version.m4
Copyright: 2009 Francesco Salvestrini
License: FSFAP

Files: builds/unix/ax_pthread.m4
Copyright: 2008 Steven G. Johnson
           2011 Daniel Richard G.
           2019 Marc Stevens
License: GPL-3+

Files: builds/unix/install-sh
Copyright: 1994 X Consortium
License: MIT

Files: builds/unix/pkg.m4
Copyright: 2004 Scott James Remnant <scott@netsplit.com>
License: GPL-2+

Files: debian/*
Copyright: 1996-2019 Christoph Lameter, Anthony Fok, Steve Langasek, et al.
           2018-2023 Hugh McMaster
License: GPL-2+

Files: docs/DOCGUIDE
       src/sfnt/sfwoff2.c
       src/sfnt/sfwoff2.h
       src/sfnt/woff2tags.c
       src/sfnt/woff2tags.h
Copyright: 2018-2022 Nikhil Ramakrishnan, David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: docs/INSTALL.CROSS
       ft2demos/mac/ftoldmac.c
Copyright: 1996-2022 Suzuki Toshiya, David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: docs/reference/*
Copyright: The FreeType Project
License: FTL

Files: ft2demos/graph/beos/grbeos.cpp
Copyright: 2001-2022 Michael Pfeiffer
License: FTL

Files: ft2demos/graph/graph.h
       ft2demos/graph/grdevice.h
       ft2demos/graph/grobjs.h
       ft2demos/graph/grtypes.h
Copyright: 1999-2022 The FreeType Development Team
License: FTL

Files: ft2demos/graph/grswizzle.c
Copyright: None
License: Public-Domain
         "this filtering code is explicitly placed in the public domain !!"

Files: ft2demos/graph/mac/grmac.c
Copyright: 1999-2022 Just van Rossum, Antoine Leca,
                     David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: ft2demos/graph/win32/grwin32.c
       ft2demos/graph/win32/grwin32.h
       ft2demos/graph/x11/grx11.c
       ft2demos/graph/x11/grx11.h
Copyright: 1999-2022 Antoine Leca, David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: ft2demos/mac/getargv.c
Copyright: 1991-2022 Stichting Mathematisch Centrum
License: MIT

Files: ft2demos/src/ftinspect/ftinspect.cpp
       ft2demos/src/ftinspect/maingui.cpp
       ft2demos/src/ftinspect/maingui.hpp
       ft2demos/src/ftinspect/engine/*
       ft2demos/src/ftinspect/rendering/*
       ft2demos/src/ftinspect/widgets/*
       src/tools/update-copyright-year
Copyright: 2015-2022 Werner Lemberg
License: FTL

Files: ft2demos/src/ftsdf.c
Copyright: 2021-2022 David Turner, Robert Wilhelm, Werner Lemberg and Anuj Verma
License: FTL

Files: ft2demos/src/md5.c
       ft2demos/src/md5.h
Copyright: None
License: Public-Domain
         "No copyright is claimed, and the software is hereby placed in the public domain."

Files: ft2demos/src/mlgetopt.c
       ft2demos/src/mlgetopt.h
Copyright: None
License: Public-Domain
         "This code is hereby expressly placed in the public domain."

Files: ft2demos/src/rsvg-port.c
       ft2demos/src/rsvg-port.h
Copyright: 2022 David Turner, Robert Wilhelm, Werner Lemberg and Moazin Khatti
License: FTL

Files: ft2docs/docs/tutorial/example2.cpp
       ft2docs/docs/tutorial/example3.cpp
       ft2docs/docs/tutorial/example4.cpp
Copyright: None
License: Public-Domain
         "Public domain."

Files: ft2docs/docs/tutorial/example5.cpp
Copyright: 2016-2018 Static Jobs LLC
License: MIT

Files: include/freetype/ftbzip2.h
       src/bzip2/*
Copyright: 2010-2022 Joel Klinghed
License: FTL

Files: include/freetype/ftcid.h
       include/freetype/internal/services/svcid.h
       src/base/ftcid.c
Copyright: 2007-2022 Derek Clegg and Michael Toftdal
License: FTL

Files: include/freetype/ftgxval.h
       include/freetype/internal/services/svgxval.h
       include/freetype/internal/services/svttcmap.h
       src/base/ftgxval.c
Copyright: 2003-2022 Masatake Yamato, Red Hat K.K.,
                     David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: include/freetype/internal/fthash.h
       src/base/fthash.c
Copyright: 2000 Computing Research Labs, New Mexico State University
           2001-2015 Francesco Zappa Nardelli
License: MIT

Files: include/freetype/internal/ftrfork.h
       src/base/ftrfork.c
Copyright: 2004-2022 Masatake Yamato, Redhat K.K.
License: FTL

Files: include/freetype/internal/svginterface.h
       include/freetype/otsvg.h
       src/sfnt/ttsvg.c
       src/sfnt/ttsvg.h
       src/svg/ftsvg.c
       src/svg/ftsvg.h
       src/svg/module.mk
       src/svg/rules.mk
       src/svg/svg.c
       src/svg/svgtypes.h
Copyright: 2022 David Turner, Robert Wilhelm, Werner Lemberg and Moazin Khatti
License: FTL

Files: src/sfnt/ttcmapc.h
Copyright: 2009-2022 Oran Agra and Mickey Gabel
License: FTL

Files: ft2demos/graph/gblender.h
       include/freetype/internal/services/svttglyf.h
       src/base/ftpatent.c
       src/lzw/ftzopen.c
       src/lzw/ftzopen.h
Copyright: 2002-2022 David Turner
License: FTL

Files: include/dlg/*
       src/dlg/dlg.c
Copyright: 2019 nyorain
License: BSL-1.0

Files: src/autofit/afindic.c
       src/autofit/afindic.h
Copyright: 2007-2022 Rahul Bhalerao
License: FTL

Files: src/base/ftbase.h
Copyright: 2008-2022 David Turner, Robert Wilhelm, Werner Lemberg and Suzuki Toshiya
License: FTL

Files: src/base/fterrors.c
Copyright: 2018-2022 Armin Hasitzka, David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: src/base/md5.c
       src/base/md5.h
Copyright: None
License: Public-Domain
         "No copyright is claimed, and the software is hereby placed in the public domain."

Files: src/bdf/bdf.c
       src/bdf/bdfdrivr.c src/bdf/bdfdrivr.h
       src/bdf/bdferror.h
       src/bdf/module.mk
       src/bdf/README
       src/bdf/rules.mk
       src/pcf/module.mk
       src/pcf/pcf.c src/pcf/pcf.h
       src/pcf/pcfdrivr.c src/pcf/pcfdrivr.h
       src/pcf/pcfread.c src/pcf/pcfread.h
       src/pcf/pcfutil.h
       src/pcf/README
       src/pcf/rules.mk
Copyright: 2000-2014 Francesco Zappa Nardelli
License: MIT

Files: src/bdf/bdf.h
       src/bdf/bdflib.c
Copyright: 2000 Computing Research Labs, New Mexico State University
           2001-2014 Francesco Zappa Nardelli
License: MIT

Files: src/gxvalid/*
Copyright: 2004-2022 Suzuki Toshiya, Masatake Yamato, Red Hat K.K.,
                     David Turner, Robert Wilhelm and Werner Lemberg
License: FTL

Files: src/gxvalid/gxvfgen.c
Copyright: 2004-2022 Masatake Yamato, Redhat K.K.
License: FTL

Files: src/gzip/adler32.c
       src/gzip/crc32.c
       src/gzip/gzguts.h
       src/gzip/infback.c
       src/gzip/inffast.c
       src/gzip/inffast.h
       src/gzip/inflate.c
       src/gzip/inflate.h
       src/gzip/inftrees.c
       src/gzip/inftrees.h
Copyright: 1995-2022 Mark Adler
License: Zlib

Files: src/gzip/ftzconf.h
       src/gzip/zlib.h
       src/gzip/zutil.h
Copyright: 1995-2022 Jean-loup Gailly and Mark Adler
License: Zlib

Files: src/gzip/zutil.c
Copyright: 1995-2017 Jean-loup Gailly
License: Zlib

Files: src/lzw/ftlzw.c
       src/lzw/rules.mk
Copyright: 2004-2022 Albert Chin-A-Young
License: FTL

Files: src/pcf/pcfutil.c
Copyright: 1990, 1994, 1998 The Open Group
License: OpenGroup-BSD-like

Files: src/psaux/psarrst.c
       src/psaux/psarrst.h
       src/psaux/psblues.c
       src/psaux/psblues.h
       src/psaux/pserror.c
       src/psaux/pserror.h
       src/psaux/psfixed.h
       src/psaux/psfont.c
       src/psaux/psfont.h
       src/psaux/psft.c
       src/psaux/psft.h
       src/psaux/psglue.h
       src/psaux/pshints.c
       src/psaux/pshints.h
       src/psaux/psintrp.c
       src/psaux/psintrp.h
       src/psaux/psread.c
       src/psaux/psread.h
       src/psaux/psstack.c
       src/psaux/psstack.h
       src/psaux/pstypes.h
Copyright: 2006-2014 Adobe Systems Incorporated
License: FTL

Files: src/sfnt/pngshim.c
       src/sfnt/pngshim.h
Copyright: 2013-2022 Google, Inc.
License: FTL

Files: src/sfnt/ttcolr.c
Copyright: 2018-2022 David Turner, Robert Wilhelm, Dominik Röttsches and Werner Lemberg
License: FTL

Files: src/sfnt/ttsbit.c
Copyright: 2005-2022 David Turner, Robert Wilhelm and Werner Lemberg
           2013 Google, Inc.
License: FTL

Files: src/tools/apinames.c
       src/tools/chktrcmp.py
Copyright: None
License: Public-Domain
         "This code is explicitly placed into the public domain."

Files: src/tools/ftrandom/ftrandom.c
Copyright: 2005, 2007, 2008, 2013 George Williams
License: BSD-3-Clause

Files: src/truetype/ttgxvar.c
       src/truetype/ttgxvar.h
Copyright: 2004-2022 David Turner, Robert Wilhelm, Werner Lemberg and George Williams
License: FTL

Files: src/type42/t42drivr.c
       src/type42/t42drivr.h
       src/type42/t42objs.c
       src/type42/t42objs.h
       src/type42/t42parse.c
       src/type42/t42parse.h
       src/type42/t42types.h
Copyright: 2002-2022 Roberto Alameda
License: FTL

Files: src/winfonts/winfnt.c
Copyright: 1996-2022 David Turner, Robert Wilhelm and Werner Lemberg
           2003 Huw D M Davies for Codeweavers
           2007 Dmitry Timoshkov for Codeweavers
License: FTL

Files: src/winfonts/winfnt.h
Copyright: 1996-2022 David Turner, Robert Wilhelm and Werner Lemberg
           2007 Dmitry Timoshkov for Codeweavers
License: FTL

License: BSD-3-Clause
  Redistribution and use in source and binary forms, with or without
  modification, are permitted provided that the following conditions are met:
 .
  1. Redistributions of source code must retain the above copyright notice,
     this list of conditions and the following disclaimer.
 .
  2. Redistributions in binary form must reproduce the above copyright notice,
     this list of conditions and the following disclaimer in the documentation
     and/or other materials provided with the distribution.
 .
  3. Neither the name of the copyright holder nor the names of its contributors
     may be used to endorse or promote products derived from this software
     without specific prior written permission.
 .
  THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS "AS IS"
  AND ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE
  IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE
  ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT HOLDER OR CONTRIBUTORS BE
  LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR
  CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF
  SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS
  INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN
  CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE)
  ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF
  THE POSSIBILITY OF SUCH DAMAGE.

License: BSL-1.0
  Permission is hereby granted, free of charge, to any person or organization
  obtaining a copy of the software and accompanying documentation covered by
  this license (the "Software") to use, reproduce, display, distribute,
  execute, and transmit the Software, and to prepare derivative works of the
  Software, and to permit third-parties to whom the Software is furnished to
  do so, all subject to the following:
 .
  The copyright notices in the Software and this entire statement, including
  the above license grant, this restriction and the following disclaimer,
  must be included in all copies of the Software, in whole or in part, and
  all derivative works of the Software, unless such copies or derivative
  works are solely in the form of machine-executable object code generated by
  a source language processor.
 .
  THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
  IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
  FITNESS FOR A PARTICULAR PURPOSE, TITLE AND NON-INFRINGEMENT. IN NO EVENT
  SHALL THE COPYRIGHT HOLDERS OR ANYONE DISTRIBUTING THE SOFTWARE BE LIABLE
  FOR ANY DAMAGES OR OTHER LIABILITY, WHETHER IN CONTRACT, TORT OR OTHERWISE,
  ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER
  DEALINGS IN THE SOFTWARE.

License: FSFAP
  Copying and distribution of this file, with or without modification,
  are permitted in any medium without royalty provided the copyright
  notice and this notice are preserved. This file is offered as-is,
  without any warranty.

License: FTL
                    The FreeType Project LICENSE
                    ----------------------------
 .
                            2006-Jan-27
 .
                    Copyright 1996-2002, 2006 by
          David Turner, Robert Wilhelm, and Werner Lemberg
 .
 .
 .
 Introduction
 ============
 .
  The FreeType  Project is distributed in  several archive packages;
  some of them may contain, in addition to the FreeType font engine,
  various tools and  contributions which rely on, or  relate to, the
  FreeType Project.
 .
  This  license applies  to all  files found  in such  packages, and
  which do not  fall under their own explicit  license.  The license
  affects  thus  the  FreeType   font  engine,  the  test  programs,
  documentation and makefiles, at the very least.
 .
  This  license   was  inspired  by  the  BSD,   Artistic,  and  IJG
  (Independent JPEG  Group) licenses, which  all encourage inclusion
  and  use of  free  software in  commercial  and freeware  products
  alike.  As a consequence, its main points are that:
 .
    o We don't promise that this software works. However, we will be
      interested in any kind of bug reports. (`as is' distribution)
 .
    o You can  use this software for whatever you  want, in parts or
      full form, without having to pay us. (`royalty-free' usage)
 .
    o You may not pretend that  you wrote this software.  If you use
      it, or  only parts of it,  in a program,  you must acknowledge
      somewhere  in  your  documentation  that  you  have  used  the
      FreeType code. (`credits')
 .
  We  specifically  permit  and  encourage  the  inclusion  of  this
  software, with  or without modifications,  in commercial products.
  We  disclaim  all warranties  covering  The  FreeType Project  and
  assume no liability related to The FreeType Project.
 .
 .
  Finally,  many  people  asked  us  for  a  preferred  form  for  a
  credit/disclaimer to use in compliance with this license.  We thus
  encourage you to use the following text:
 .
   """
    Portions of this software are copyright © <year> The FreeType
    Project (www.freetype.org).  All rights reserved.
   """
 .
  Please replace <year> with the value from the FreeType version you
  actually use.
 .
 .
 Legal Terms
 ===========
 .
  0. Definitions
  --------------
 .
  Throughout this license,  the terms `package', `FreeType Project',
  and  `FreeType  archive' refer  to  the  set  of files  originally
  distributed  by the  authors  (David Turner,  Robert Wilhelm,  and
  Werner Lemberg) as the `FreeType Project', be they named as alpha,
  beta or final release.
 .
  `You' refers to  the licensee, or person using  the project, where
  `using' is a generic term including compiling the project's source
  code as  well as linking it  to form a  `program' or `executable'.
  This  program is  referred to  as  `a program  using the  FreeType
  engine'.
 .
  This  license applies  to all  files distributed  in  the original
  FreeType  Project,   including  all  source   code,  binaries  and
  documentation,  unless  otherwise  stated   in  the  file  in  its
  original, unmodified form as  distributed in the original archive.
  If you are  unsure whether or not a particular  file is covered by
  this license, you must contact us to verify this.
 .
  The FreeType  Project is copyright (C) 1996-2000  by David Turner,
  Robert Wilhelm, and Werner Lemberg.  All rights reserved except as
  specified below.
 .
  1. No Warranty
  --------------
 .
  THE FREETYPE PROJECT  IS PROVIDED `AS IS' WITHOUT  WARRANTY OF ANY
  KIND, EITHER  EXPRESS OR IMPLIED,  INCLUDING, BUT NOT  LIMITED TO,
  WARRANTIES  OF  MERCHANTABILITY   AND  FITNESS  FOR  A  PARTICULAR
  PURPOSE.  IN NO EVENT WILL ANY OF THE AUTHORS OR COPYRIGHT HOLDERS
  BE LIABLE  FOR ANY DAMAGES CAUSED  BY THE USE OR  THE INABILITY TO
  USE, OF THE FREETYPE PROJECT.
 .
  2. Redistribution
  -----------------
 .
  This  license  grants  a  worldwide, royalty-free,  perpetual  and
  irrevocable right  and license to use,  execute, perform, compile,
  display,  copy,   create  derivative  works   of,  distribute  and
  sublicense the  FreeType Project (in  both source and  object code
  forms)  and  derivative works  thereof  for  any  purpose; and  to
  authorize others  to exercise  some or all  of the  rights granted
  herein, subject to the following conditions:
 .
    o Redistribution of  source code  must retain this  license file
      (`FTL.TXT') unaltered; any  additions, deletions or changes to
      the original  files must be clearly  indicated in accompanying
      documentation.   The  copyright   notices  of  the  unaltered,
      original  files must  be  preserved in  all  copies of  source
      files.
 .
    o Redistribution in binary form must provide a  disclaimer  that
      states  that  the software is based in part of the work of the
      FreeType Team,  in  the  distribution  documentation.  We also
      encourage you to put an URL to the FreeType web page  in  your
      documentation, though this isn't mandatory.
 .
  These conditions  apply to any  software derived from or  based on
  the FreeType Project,  not just the unmodified files.   If you use
  our work, you  must acknowledge us.  However, no  fee need be paid
  to us.
 .
  3. Advertising
  --------------
 .
  Neither the  FreeType authors and  contributors nor you  shall use
  the name of the  other for commercial, advertising, or promotional
  purposes without specific prior written permission.
 .
  We suggest,  but do not require, that  you use one or  more of the
  following phrases to refer  to this software in your documentation
  or advertising  materials: `FreeType Project',  `FreeType Engine',
  `FreeType library', or `FreeType Distribution'.
 .
  As  you have  not signed  this license,  you are  not  required to
  accept  it.   However,  as  the FreeType  Project  is  copyrighted
  material, only  this license, or  another one contracted  with the
  authors, grants you  the right to use, distribute,  and modify it.
  Therefore,  by  using,  distributing,  or modifying  the  FreeType
  Project, you indicate that you understand and accept all the terms
  of this license.
 .
  4. Contacts
  -----------
 .
  There are two mailing lists related to FreeType:
 .
    o freetype@nongnu.org
 .
      Discusses general use and applications of FreeType, as well as
      future and  wanted additions to the  library and distribution.
      If  you are looking  for support,  start in  this list  if you
      haven't found anything to help you in the documentation.
 .
    o freetype-devel@nongnu.org
 .
      Discusses bugs,  as well  as engine internals,  design issues,
      specific licenses, porting, etc.
 .
  Our home page can be found at
 .
    https://www.freetype.org
 .
 .

License: GPL-2+
  This program is free software; you can redistribute it and/or modify
  it under the terms of the GNU General Public License as published by
  the Free Software Foundation; either version 2 of the License, or
  (at your option) any later version.
 .
  This program is distributed in the hope that it will be useful,
  but WITHOUT ANY WARRANTY; without even the implied warranty of
  MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
  GNU General Public License for more details.
 .
  You should have received a copy of the GNU General Public License
  along with this program;  if not, write to the Free Software
  Foundation, Inc., 51 Franklin St, Fifth Floor, Boston,
  MA 02110-1301, USA.
 .
  On Debian GNU/Linux systems, the complete text of the GNU General
  Public License version 2 can be found in
  `/usr/share/common-licenses/GPL-2'.

License: GPL-3+
  This program is free software: you can redistribute it and/or modify
  it under the terms of the GNU General Public License as published by
  the Free Software Foundation, either version 3 of the License, or
  (at your option) any later version.
 .
  This program is distributed in the hope that it will be useful,
  but WITHOUT ANY WARRANTY; without even the implied warranty of
  MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
  GNU General Public License for more details.
 .
  You should have received a copy of the GNU General Public License
  along with this program.  If not, see <http://www.gnu.org/licenses/>.
 .
  On Debian GNU/Linux systems, the complete text of the GNU General
  Public License version 3 can be found in
  `/usr/share/common-licenses/GPL-3'.

License: MIT
  Permission is hereby granted, free of charge, to any person obtaining a copy
  of this software and associated documentation files (the "Software"), to deal
  in the Software without restriction, including without limitation the rights
  to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
  copies of the Software, and to permit persons to whom the Software is
  furnished to do so, subject to the following conditions:
 .
  The above copyright notice and this permission notice shall be included in
  all copies or substantial portions of the Software.
 .
  THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
  IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
  FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
  AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
  LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
  OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
  SOFTWARE.

License: OpenGroup-BSD-like
  Permission to use, copy, modify, distribute, and sell this software and its
  documentation for any purpose is hereby granted without fee, provided that
  the above copyright notice appear in all copies and that both that
  copyright notice and this permission notice appear in supporting
  documentation.
 .
  The above copyright notice and this permission notice shall be included in
  all copies or substantial portions of the Software.
 .
  THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
  IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
  FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT.  IN NO EVENT SHALL THE
  OPEN GROUP BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN
  AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN
  CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
 .
  Except as contained in this notice, the name of The Open Group shall not be
  used in advertising or otherwise to promote the sale, use or other dealings
  in this Software without prior written authorization from The Open Group.

License: Zlib
  This software is provided 'as-is', without any express or implied
  warranty.  In no event will the authors be held liable for any damages
  arising from the use of this software.
 .
  Permission is granted to anyone to use this software for any purpose,
  including commercial applications, and to alter it and redistribute it
  freely, subject to the following restrictions:
 .
  1. The origin of this software must not be misrepresented; you must not
     claim that you wrote the original software. If you use this software
     in a product, an acknowledgment in the product documentation would be
     appreciated but is not required.
  2. Altered source versions must be plainly marked as such, and must not be
     misrepresented as being the original software.
  3. This notice may not be removed or altered from any source distribution.)licence"},
  };
  return entries;
}

}  // namespace Quillo
